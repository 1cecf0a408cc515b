#include "host/components/hostcomponents.h"

#include "host/access/dataaccess.h"
#include "host/billdata/sysinfo.h"
#include "host/bills/billlist.h"
#include "host/core/objectfactory.h"
#include "host/db/appconnection.h"
#include "host/db/hostdatabase.h"
#include "host/displayer/dispbuilder.h"
#include "host/exporter/exportengine.h"
#include "host/formres/frmresloader.h"
#include "host/help/helpwindow.h"
#include "host/importer/sheetimport.h"
#include "host/lang/resloader.h"
#include "host/list/listserver.h"
#include "host/list/listupdate.h"
#include "host/log/logcomponent.h"
#include "host/lookup/auxprop.h"
#include "host/lookup/baselist.h"
#include "host/lookup/glviewcomponent.h"
#include "host/lookup/itemaux.h"
#include "host/props/shareprops.h"

#include <memory>

namespace host {
namespace {

template <typename T> void registerDefault(std::string_view progId)
{
    registerObject(progId, [] { return std::make_shared<T>(); });
}

} // namespace

void registerHostComponents()
{
    // Every application connection is the host's own live connection.
    registerObject("ZarvoConnection.AppConnection", [] { return hostConnection(); });
    registerDefault<ShareProps>(ShareProps::ProgId);
    registerDefault<ResLoader>(ResLoader::ProgId);
    registerObject(LogComponent::ProgId,
                   [] { return std::make_shared<LogComponent>(LogComponent::defaultFile()); });
    registerDefault<ListServer>(ListServer::ProgId);
    registerDefault<DataAccess>(DataAccess::ProgId);
    registerDefault<GLData>(GLData::ProgId);
    registerDefault<ChmHelp>(HelpTool::ProgId);
    registerDefault<FrmResLoader>(FrmResLoader::ProgId);
    registerDefault<GLViewComponent>(GLView::ProgId);
    // The bills are made on the host's own connection to its database.
    registerObject(ListUpdate::ProgId,
                   [] { return std::make_shared<ListUpdate>([] { return hostConnection(); }); });
    registerDefault<BaseList>(BaseList::ProgId);
    registerDefault<AuxPropPicker>(AuxPropPicker::ProgId);
    registerDefault<ItemAuxCheck>(ItemAuxCheck::ProgId);
    registerDefault<SheetImport>(SheetImport::ProgId);
    registerDefault<DispBuilder>(DispBuilder::ProgId);
    registerDefault<Bills>(Bills::ProgId);
    registerObject(SysInfo::ProgId,
                   [] { return std::make_shared<SysInfo>([] { return hostConnection(); }); });
    registerDefault<ExportEngine>(ExportEngine::ProgId);
}

} // namespace host
