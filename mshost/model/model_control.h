// What the stand-in host itself does with a model, beyond the host's model
// library interface (host/msLib.h) that the plug-ins see: create and free
// models and read how often the plug-ins asked to destroy one.
#pragma once

#include "host/msLib.h"

#if defined(_WIN32)
#if defined(MSMODELLIB_BUILDING)
#define MS_MODEL_CONTROL_API __declspec(dllexport)
#else
#define MS_MODEL_CONTROL_API __declspec(dllimport)
#endif
#else
#define MS_MODEL_CONTROL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// A new, empty model; null only when memory runs out.
MS_MODEL_CONTROL_API msModel* msModel_Create(void);
// Releases the model and everything in it; null is ignored.
MS_MODEL_CONTROL_API void msModel_Free(msModel* model);
// How many times msModel_Destroy was called on the model (0 for null).
MS_MODEL_CONTROL_API int msModel_GetDestroyCount(msModel* model);
// Non-zero `on` makes the model keep the host's list sizes: at most 65,534
// vertices and 65,534 triangles a mesh, 255 meshes, 128 materials and 128
// bones. An add past one returns -1 and adds nothing (how the host is
// taken to report a full list). Off for a new model; items already held
// stay when it is turned on. Null is ignored.
MS_MODEL_CONTROL_API void msModel_SetHostLimits(msModel* model, int on);

#ifdef __cplusplus
}

#include <memory>

// Owning handle for models made by the stand-in host.
struct ModelDeleter {
    void operator()(msModel* model) const { msModel_Free(model); }
};
using ModelPtr = std::unique_ptr<msModel, ModelDeleter>;
inline ModelPtr MakeModel() { return ModelPtr(msModel_Create()); }
#endif
