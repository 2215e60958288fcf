// korbastel's one exported entry point.
#include <new>

#include "exporter/export_plugin.h"
#include "host/plugin_abi.h"
#include "platform/platform.h"

// Returns a new exporter plug-in object owned by the host, or null when it
// cannot be allocated. Records this library's module handle, which the
// options dialog's resource is loaded from.
MS_PLUGIN_EXPORT msPlugInObject* CreatePlugIn() {
    RecordExporterModule(platform::ModuleContaining(reinterpret_cast<const void*>(&CreatePlugIn)));
    return new (std::nothrow) CNifExportPlugIn();
}
