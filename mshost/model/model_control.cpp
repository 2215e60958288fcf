// Model creation and release for the stand-in host.
#include "mshost/model/model_control.h"

#include <new>

#include "mshost/model/model_items.h"

extern "C" {

msModel* msModel_Create(void) { return new (std::nothrow) msModel(); }

void msModel_Free(msModel* model) { delete model; }

int msModel_GetDestroyCount(msModel* model) { return model ? model->destroyCount : 0; }

void msModel_SetHostLimits(msModel* model, int on) {
    if (model) model->storage.hostLimits = on != 0;
}

}  // extern "C"
