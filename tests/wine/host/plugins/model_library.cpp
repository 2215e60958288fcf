// The stand-in model library as the test host sees it: a model can be made,
// counted and freed (checks that need no plug-in DLL).
#include "check.h"
#include "host_plugin.h"

WINE_TEST(ModelLibrary, CreatesCountsAndFreesModels) {
    msModel* model = msModel_Create();
    CHECK(model != nullptr);
    if (!model) return;
    CHECK_EQ_INT(0, msModel_GetMeshCount(model));
    CHECK_EQ_INT(0, msModel_AddMesh(model));
    CHECK_EQ_INT(1, msModel_AddMesh(model));
    CHECK_EQ_INT(2, msModel_GetMeshCount(model));
    CHECK_EQ_INT(0, msModel_GetDestroyCount(model));
    msModel_Free(model);
}
