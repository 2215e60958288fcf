// Small real files cut short at every length and with every byte changed:
// each load must end in success or a text exception, never a crash or a leak.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/reader/reader_test_support.h"
#include "tests/support/shared_corpus.h"

namespace {

// The smallest loadable corpus files that together hold 19 of the readable types.
const char* const kTruncatedFiles[] = {
    "ashfall__merchantcrate.nif",        "fishing__xlure_anim.nif",  "ojmmm__fmm_blooddecal.nif",
    "fishing__lure_anim.nif",            "ashfall__alit_meat.nif",   "myexp__xfurn_banner_tavern_01.nif",
    "ojmmm__fmm_waterfall_01.nif",       "ojmmm__du_dwrv_grate_02.nif",
};
// Mutating every byte costs four loads per byte: only the smaller ones.
const size_t kLargestMutatedFile = 5000;

std::vector<unsigned char> ReadCorpusFile(const char* name) {
    const auto path = std::filesystem::path(NIF_SHARED_DIR) / "corpus" / "nif" / name;
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

// Loads `size` bytes; true when the load succeeded. Any exception but a text exception fails the test.
bool LoadsCleanly(const unsigned char* data, size_t size) {
    platform::headless::Reset();
    DebugPrinter printer;
    Qiv_Stream stream(&printer);
    stream.OpenBytes(data, size, "mutated.nif");
    try {
        NifFile file(&stream);
        return true;
    } catch (const TextException& error) {
        EXPECT_FALSE(error.Text().empty());
        return false;
    }
}

class RealFileMutation : public ::testing::Test {
protected:
    void SetUp() override {
        NIF_NEED_SHARED_CORPUS("nif");
    }
};

TEST_F(RealFileMutation, EveryTruncationFailsCleanly) {
    for (const char* name : kTruncatedFiles) {
        SCOPED_TRACE(name);
        const std::vector<unsigned char> bytes = ReadCorpusFile(name);
        ASSERT_FALSE(bytes.empty());
        ASSERT_TRUE(LoadsCleanly(bytes.data(), bytes.size()));
        for (size_t length = 0; length < bytes.size(); ++length) {
            // An exactly sized copy, so that a read past the end is seen by the sanitizer.
            std::vector<unsigned char> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_FALSE(LoadsCleanly(prefix.data(), prefix.size())) << "prefix of " << length << " bytes loaded";
        }
    }
}

TEST_F(RealFileMutation, EveryChangedByteLoadsOrFailsCleanly) {
    for (const char* name : kTruncatedFiles) {
        std::vector<unsigned char> bytes = ReadCorpusFile(name);
        if (bytes.size() > kLargestMutatedFile) continue;
        SCOPED_TRACE(name);
        int loaded = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            const unsigned char original = bytes[i];
            for (unsigned char value : {static_cast<unsigned char>(original + 1), static_cast<unsigned char>(original - 1),
                                        static_cast<unsigned char>(0), static_cast<unsigned char>(0xFF)}) {
                if (value == original) continue;
                bytes[i] = value;
                loaded += LoadsCleanly(bytes.data(), bytes.size());
            }
            bytes[i] = original;
        }
        // Changed float bits and names leave many files readable; changed counts do not.
        EXPECT_GT(loaded, 0);
    }
}

TEST_F(RealFileMutation, OneExtraByteIsRejected) {
    for (const char* name : kTruncatedFiles) {
        SCOPED_TRACE(name);
        std::vector<unsigned char> bytes = ReadCorpusFile(name);
        bytes.push_back(0);
        DebugPrinter printer;
        Qiv_Stream stream(&printer);
        stream.OpenBytes(bytes.data(), bytes.size(), name);
        try {
            NifFile file(&stream);
            ADD_FAILURE() << "loaded with an extra byte";
        } catch (const TextException& error) {
            EXPECT_EQ(error.Text(), "File data left at end of file - 1 bytes left");
        }
    }
}

}  // namespace
