// mshost import in-process on the files of the shared corpus: the run always
// completes, and the model JSON it saves reads back to the very same text
// (real names, real floats, NaN and all). Files above kMaxBytes are left out
// to keep the sanitizer build's run short; the JSON code is the same for them.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "mshost/cli/commands.h"
#include "mshost/files/file_io.h"
#include "mshost/formats/model_json.h"
#include "mshost/model/model_control.h"
#include "mshost/plugins/plugin_runner.h"
#include "tests/support/shared_corpus.h"

namespace {

constexpr std::uintmax_t kMaxBytes = 128 * 1024;

TEST(CorpusImport, EveryFileImportsAndItsSavedModelReadsBackUnchanged) {
    const std::filesystem::path folder = std::filesystem::path(NIF_SHARED_DIR) / "corpus" / "nif";
    NIF_NEED_SHARED_CORPUS("nif");
    const std::string plugIn = mshost::DefaultPlugInPath("dravelin");
    if (!std::filesystem::exists(plugIn)) GTEST_SKIP() << "the importer is not built: " << plugIn;
    const std::string saved =
        (std::filesystem::temp_directory_path() / ("corpus_import_" + std::to_string(getpid()) + ".json")).string();

    int withMeshes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.file_size() > kMaxBytes) continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::string out;
        std::string err;
        std::remove(saved.c_str());
        const int status = mshost::RunMshost({"import", entry.path().string(), "--summary", "--save", saved}, &out, &err);
        if (status == 3) {
            // A file the importer rejects in its box, or with no shape (execute answers 1):
            // one line naming the file and the reason, and nothing saved.
            const bool rejected = out.find("\"NIF Import Error\": ") != std::string::npos;
            EXPECT_TRUE(rejected || out.find("\nexecute: 1\n") != std::string::npos) << out;
            const std::string prefix = "mshost: import of '" + entry.path().string() + "' failed: ";
            EXPECT_EQ(err.rfind(prefix, 0), 0u) << err;
            if (!rejected) {
                EXPECT_EQ(err, prefix + "execute returned 1\n");
            }
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
            EXPECT_FALSE(std::filesystem::exists(saved));
            continue;
        }
        ASSERT_EQ(status, 0) << err;
        EXPECT_EQ(err, "");
        mshost::FileImage image;
        ASSERT_TRUE(mshost::ReadFileImage(saved.c_str(), &image, &err)) << err;
        const std::string text(image.view());
        ModelPtr model = MakeModel();
        ASSERT_TRUE(mshost::ReadModelJson(text, model.get(), &err)) << err;
        EXPECT_EQ(mshost::ModelJsonText(model.get()), text);
        if (msModel_GetMeshCount(model.get()) > 0) ++withMeshes;
    }
    std::remove(saved.c_str());
    EXPECT_GT(withMeshes, 0);
}

}  // namespace
