// Fuzz target 5: the stand-in host's JSON model reader on arbitrary text. A
// failed read must give a one-line reason; a read that succeeds must give a
// model that writes back to a text which reads back to the same model.
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/msLib.h"
#include "mshost/model/model_control.h"
#include "mshost/formats/model_json.h"
#include "tests/fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ModelPtr model = MakeModel();
    std::string error;
    if (!mshost::ReadModelJson(text, model.get(), &error)) {
        if (error.empty() || error.find('\n') != std::string::npos) std::abort();
        return 0;
    }
    const std::string written = mshost::ModelJsonText(model.get());
    ModelPtr again = MakeModel();
    if (!mshost::ReadModelJson(written, again.get(), &error)) std::abort();
    if (mshost::ModelJsonText(again.get()) != written) std::abort();
    return 0;
}
