#include "ContainerTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

// Containers made once, outside the program, beside this file (see containers/README.md).
const std::filesystem::path Samples = QUARN_SAMPLE_CONTAINERS;

struct SampleCase {
    const char* container;
    const char* password;
    const char* storedName;
    const char* contents; // the file in the samples folder that holds the contents
};

void PrintTo(const SampleCase& param, std::ostream* out) {
    *out << param.container;
}

class ContainerSamples : public testing::TestWithParam<SampleCase> {};

TEST_P(ContainerSamples, ReaderDecryptsAndWriterReproducesByteForByte) {
    const SampleCase& c = GetParam();
    const std::string container = ReadFileBytes((Samples / c.container).string());
    const std::string contents = ReadFileBytes((Samples / c.contents).string());
    ASSERT_FALSE(container.empty()) << "missing sample " << c.container;
    TempDir dir;
    TRijndael cipher;
    ContainerTestView view;

    WriteFileBytes(dir / "sample.zot!", container);
    const auto read = ReadContainer(cipher, view, dir / "sample.zot!", dir.Folder(), "sample.zot!",
                                    c.password, TakeProposed);
    ASSERT_TRUE(read.done);
    EXPECT_EQ(read.outputPath, dir / c.storedName);
    EXPECT_TRUE(ReadFileBytes(dir / c.storedName) == contents);

    const auto written = WriteContainer(cipher, view, dir / c.storedName, dir / "again.zot!",
                                        c.storedName, c.password, NoClashExpected);
    ASSERT_TRUE(written.done);
    EXPECT_TRUE(ReadFileBytes(dir / "again.zot!") == container) << "not the sample's bytes";
    EXPECT_TRUE(view.messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Samples, ContainerSamples,
    testing::Values(SampleCase{"letter.zot!", "letter password", "letter.txt", "letter.txt"},
                    SampleCase{"block4096.zot!", "four thousand ninety-six", "block4096.bin",
                               "block4096.bin"},
                    SampleCase{"block4095.zot!", "x", "block4095.bin", "block4095.bin"},
                    SampleCase{"gruesse.zot!", "p\xC3\xA4ssw\xC3\xB6rd",
                               "Gr\xC3\xBC\xC3\x9F"
                               "e \xE2\x82\xAC.txt",
                               "gruesse.txt"}),
    [](const auto& info) {
        const std::string name = info.param.container;
        return name.substr(0, name.find('.'));
    });

} // namespace
} // namespace quarn::test
