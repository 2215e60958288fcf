// The library's one exported entry: the host calls it to get the plug-in.
#include <new>

#include "importer/import_plugin.h"

MS_PLUGIN_EXPORT msPlugInObject* CreatePlugIn() { return new (std::nothrow) CNifImportPlugIn(); }
