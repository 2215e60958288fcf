// The importer's plug-in object as the host gets it from CreatePlugIn.
#pragma once

#include "host/plugin_abi.h"

class CNifImportPlugIn : public msPlugInObject {
public:
    CNifImportPlugIn();

    int Kind();
    const char* Title();
    // -1 for a null model (no dialog); 0 when the dialog is cancelled or
    // cannot be created, and after an error box; otherwise 0 when the import
    // added a mesh and 1 when it added none.
    int Execute(msModel* model);

private:
    char title_[64];
};
