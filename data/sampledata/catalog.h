#pragma once

#include <string>
#include <vector>

// The fixed vocabulary the sample company is made from: names, units, kinds of stock and the
// host's transaction types.
namespace sampledata::catalog {

enum class UnitKind
{
    Count,
    Weight,
    Length,
    Volume
};

struct UnitSpec
{
    UnitKind kind;
    std::string name;
    double coefficient;
    bool standard;
};

struct UnitGroupSpec
{
    UnitKind kind;
    std::string name;
};

// An item family: the first level of the item number and what its items look like.
struct Family
{
    std::string number;
    std::string name;
    std::string shortPrefix;
    UnitKind baseKind;
    std::string baseUnit;
    std::vector<std::string> packUnits; // counting units other than the base unit
    std::vector<std::string> materials;
    std::vector<std::string> products;
    std::vector<std::string> models;
};

struct StockSpec
{
    std::string name;
    int typeId;
    bool keepsPlaces;
};

struct NamedType
{
    int id;
    std::string name;
    std::string nameCht;
    std::string nameEn;
};

// An auxiliary class (colour, grade) with its values.
struct AuxClass
{
    int id;
    std::vector<std::string> values;
};

const std::vector<UnitGroupSpec> &unitGroups();
const std::vector<UnitSpec> &units();
const std::vector<Family> &families();
const std::vector<StockSpec> &stocks();
const std::vector<AuxClass> &auxClasses();
const std::vector<NamedType> &transactionTypes();
const NamedType &mtoChangeClass();
std::string billPrefix(int tranType);

} // namespace sampledata::catalog
