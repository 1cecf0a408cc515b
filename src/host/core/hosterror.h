#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace host {

// The module's error object. A failure that a procedure does not trap travels as this
// exception; the fields are those a caller reads from the pending error.
class HostError : public std::runtime_error
{
public:
    explicit HostError(std::string description, long number = DefaultNumber,
                       std::string source = {}, std::string helpFile = {}, long helpContext = 0);

    long Number() const { return m_number; }
    const std::string &Description() const { return m_description; }
    const std::string &Source() const { return m_source; }
    const std::string &HelpFile() const { return m_helpFile; }
    long HelpContext() const { return m_helpContext; }

    // Numbers of the errors the host's own conversions and containers raise.
    static constexpr long DefaultNumber = -2147467259; // unspecified failure
    static constexpr long Overflow = 6;
    static constexpr long SubscriptOutOfRange = 9;
    static constexpr long TypeMismatch = 13;
    static constexpr long InvalidProcedureCall = 5;
    static constexpr long InvalidUseOfNull = 94;
    static constexpr long KeyAlreadyExists = 457;
    // Numbers of the database's own failures, as a data provider raises them (timeout expired,
    // permission denied, provider failed): the same statement may succeed later or elsewhere.
    static constexpr long DatabaseBusy = -2147217871;
    static constexpr long DatabaseReadOnly = -2147217911;
    static constexpr long DatabaseUnavailable = 3000;
    // The database file was deleted or replaced while it was open: what was written went with it.
    static constexpr long DatabaseMoved = 3001;
    static constexpr long DatabaseFull = 3002;
    static constexpr long DatabaseDamaged = 3003;
    // The database file has another name (a hard link), so it is not written.
    static constexpr long DatabaseLinked = 3004;
    // Another program changed a file opened as one nobody changes, while it was read.
    static constexpr long DatabaseChanged = 3005;
    // A batch's own RAISERROR: its text is the batch's sentence, not the database's words.
    static constexpr long RaisedByBatch = 50000;

private:
    long m_number;
    std::string m_description;
    std::string m_source;
    std::string m_helpFile;
    long m_helpContext;
};

// A database failure's description is followed by the statement that failed, after this mark;
// a user reads the description only.
inline constexpr std::string_view kStatementMark = "\nSQL:";
// The text without the statement that follows the mark, for showing to a user.
std::string_view withoutStatement(std::string_view text);

} // namespace host
