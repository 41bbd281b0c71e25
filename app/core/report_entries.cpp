#include "app/core/report_entries.h"

#include "app/core/shared_state.h"

void AppendReportEntry(const std::string& source, const std::string& destination, const std::string& size,
                       const std::string& remark)
{
    gReportSrc += "##" + source;
    gReportDest += "##" + destination;
    gReportSize += "##" + size;
    gReportStatus += "##" + remark;
}

void AddPropertyLogEntry(const std::string& name, const std::string& workspace, const std::string& status)
{
    gLogPropertyNames += "$$" + name;
    gLogPropertyWorkspaces += "$$" + workspace;
    gLogPropertyStatus += "$$" + status;
}
