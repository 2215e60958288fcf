// Fuzz target 4: the stand-in host's .ms3d loader on arbitrary bytes: the
// record parser and the mapping into a model. A failed load must leave the
// model exactly as it was (empty here) and give a message.
#include <cstdlib>
#include <string>

#include "host/msLib.h"
#include "mshost/formats/ms3d_format.h"
#include "mshost/model/model_control.h"
#include "tests/fuzz/fuzz_files.h"
#include "tests/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzzfiles::WriteScratchFile("input.ms3d", data, size);
    ModelPtr model = MakeModel();
    std::string error;
    if (!LoadMs3dModel(path.c_str(), model.get(), &error)) {
        if (error.empty()) std::abort();
        if (msModel_GetMeshCount(model.get()) != 0 || msModel_GetMaterialCount(model.get()) != 0 ||
            msModel_GetBoneCount(model.get()) != 0)
            std::abort();
    }
    return 0;
}
