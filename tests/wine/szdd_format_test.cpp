// Files that tesselpack compresses expand to their originals through the
// system's own functions: VerInstallFileA copies them expanded, and
// SetupGetFileCompressionInfoA reports their expanded size.
#include <gtest/gtest.h>
#include <windows.h>
#include <setupapi.h>

#include <string>
#include <vector>

#include "tesselpack/text/szdd.h"
#include "tests/support/support.h"

using namespace testing_support;

namespace {

std::string Pattern(size_t size, unsigned seed, unsigned alphabet)
{
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>((seed >> 16) % alphabet);
    }
    return bytes;
}

void ExpectSystemExpands(const std::string& what, const std::string& data)
{
    SCOPED_TRACE(what);
    TempDir source("szdd-src"), target("szdd-dst");
    const std::vector<uint8_t> packed =
        CompressSzdd(reinterpret_cast<const uint8_t*>(data.data()), data.size(), 't');
    WriteFile(source / "file.tx_", std::string(packed.begin(), packed.end()));

    PSTR actualName = nullptr;
    DWORD sourceSize = 0, targetSize = 0;
    UINT type = 0;
    ASSERT_EQ(SetupGetFileCompressionInfoA((source / "file.tx_").c_str(), &actualName, &sourceSize, &targetSize,
                                           &type),
              static_cast<DWORD>(NO_ERROR));
    LocalFree(actualName);
    EXPECT_EQ(targetSize, data.size());
    EXPECT_EQ(type, static_cast<UINT>(FILE_COMPRESSION_WINLZA));

    char temp[MAX_PATH] = "";
    UINT tempLength = sizeof temp;
    std::string sourceName = "file.tx_", targetName = "file.txt";
    std::string sourceDir = source.path() + "\\", targetDir = target.path() + "\\";
    const DWORD result = VerInstallFileA(VIFF_FORCEINSTALL, &sourceName[0], &targetName[0], &sourceDir[0],
                                         &targetDir[0], &targetDir[0], temp, &tempLength);
    EXPECT_EQ(result & ~VIF_TEMPFILE, 0u) << std::hex << result;
    EXPECT_TRUE(ReadFile(target / "file.txt") == data);
}

}  // namespace

TEST(SzddFormat, SystemExpandsEverySizeAndKind)
{
    ExpectSystemExpands("empty", "");
    ExpectSystemExpands("one byte", "x");
    ExpectSystemExpands("window less one", Pattern(4095, 1, 4));
    ExpectSystemExpands("window", Pattern(4096, 2, 4));
    ExpectSystemExpands("window and one", Pattern(4097, 3, 4));
    ExpectSystemExpands("all one byte", std::string(200000, '\xAA'));
    ExpectSystemExpands("incompressible", Pattern(100000, 4, 256));
    ExpectSystemExpands("50 MB", Pattern(50u << 20, 5, 20));
}
