#pragma once
// The instrument read of "Сформировать страницу": the whole configuration
// and the manufacturing date, fresh from the instrument, for the report.

#include "link/parameter_access.h"
#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// Locks the commands, reads every group whatever the group switches say (the
// four switches are put back afterwards, after a failure too), then the
// manufacturing date, and unlocks. A failure is shown once and ends the
// command: no page is to be made then. The editor is neither collected nor
// refreshed here; on 0 the caller shows the record and builds the page.
ExchangeResult ReportReadCommand(ParameterAccess& link, DeviceSettings& s, Operator& op);

}  // namespace zrm
