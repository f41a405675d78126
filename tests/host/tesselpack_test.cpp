// tesselpack and its compressor: compressed files expand to their originals
// (through our expander and Debian's msexpand) and are no larger than
// mscompress writes; the layout over disks and the rewritten script; the
// program as an author runs it, with good and bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/text/payload.h"
#include "common/text/solid_reader.h"
#include "tesselpack/text/disk_plan.h"
#include "tesselpack/text/script_edit.h"
#include "tesselpack/text/szdd.h"
#include "tests/host/host_support.h"
#include "tests/host/package_samples.h"

namespace fs = std::filesystem;
using namespace host_support;

namespace {

CommandRun Shell(const std::string& command)
{
    return RunCommand(command + " 2>&1");
}

std::string Random(size_t size, unsigned seed, int alphabet = 256)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() % alphabet);
    return bytes;
}

std::vector<uint8_t> Compress(const std::string& data, char last = 't')
{
    return CompressSzdd(reinterpret_cast<const uint8_t*>(data.data()), data.size(), last);
}

struct Sample {
    std::string what, data;
};

std::vector<Sample> FormatSamples()
{
    const std::string text = ReadFile(fs::path(TESSEL_SOURCE_DIR) / "docs" / "script-reference.md");
    return {
        {"empty", ""},
        {"one byte", "x"},
        {"window less one", Random(4095, 1, 4)},
        {"window", Random(4096, 2, 4)},
        {"window and one", Random(4097, 3, 4)},
        {"all one byte", std::string(100000, 'a')},
        {"spaces, as the window starts", std::string(40, ' ') + "x" + std::string(30, ' ')},
        {"incompressible", Random(70000, 4)},
        {"text", text},
    };
}

}  // namespace

TEST(Szdd, ExpandsToTheOriginalThroughUsAndMsexpandAndIsNoLargerThanMscompress)
{
    TempFolder folder{"tesselpack"};
    for (const Sample& sample : FormatSamples()) {
        SCOPED_TRACE(sample.what);
        const std::vector<uint8_t> packed = Compress(sample.data);
        ASSERT_TRUE(IsSzdd(packed.data(), packed.size()));
        EXPECT_EQ(packed[9], 't');  // the character the name's "_" stands for
        std::vector<uint8_t> expanded;
        ASSERT_TRUE(ExpandSzdd(packed.data(), packed.size(), expanded));
        EXPECT_EQ(std::string(expanded.begin(), expanded.end()), sample.data);

        WriteFile(folder / "ours", std::string(packed.begin(), packed.end()));
        ASSERT_EQ(Shell("msexpand < '" + (folder / "ours").string() + "' > '" + (folder / "back").string() + "'").status,
                  0);
        EXPECT_EQ(ReadFile(folder / "back"), sample.data);

        WriteFile(folder / "theirs", sample.data);
        fs::remove(folder / "theirs_");
        ASSERT_EQ(Shell("mscompress '" + (folder / "theirs").string() + "'").status, 0);
        EXPECT_LE(packed.size(), fs::file_size(folder / "theirs_"));
    }
}

TEST(Szdd, ExpanderRefusesWhatIsCutShortOrNoSzdd)
{
    const std::vector<uint8_t> packed = Compress(std::string(5000, 'z') + "end");
    std::vector<uint8_t> out;
    EXPECT_FALSE(ExpandSzdd(packed.data(), packed.size() - 1, out));
    EXPECT_FALSE(ExpandSzdd(packed.data(), 10, out));
    std::vector<uint8_t> other = packed;
    other[0] = 'X';
    EXPECT_FALSE(ExpandSzdd(other.data(), other.size(), out));
    other = packed;
    other[10] ^= 1;  // the stated length
    EXPECT_FALSE(ExpandSzdd(other.data(), other.size(), out));
}

TEST(DiskPlan, FillsDisksInOrderCountsTheRootOnDiskOneAndCutsOnlyWhatMayBeCut)
{
    // 100-byte disks, 30 bytes of root files on disk 1.
    const DiskFormat bytes{FileSystem::Bytes, 1, 100, 0};
    const DiskPlan plan =
        PlanDisks({{"", "a", 50, true}, {"", "b", 60, false}, {"", "c", 150, true}, {"", "d", 0, true}}, bytes,
                  {{"", "root", 30, false}});
    ASSERT_TRUE(plan.fits);
    EXPECT_EQ(plan.disks, 4);
    auto piece = [&](size_t file, size_t p) {
        const Piece& x = plan.pieces[file][p];
        return std::to_string(x.disk) + "@" + std::to_string(x.offset) + "+" + std::to_string(x.length);
    };
    EXPECT_EQ(piece(0, 0), "1@0+50");
    EXPECT_EQ(piece(1, 0), "2@0+60");  // left 20 on disk 1: moved whole
    ASSERT_EQ(plan.pieces[2].size(), 3u);
    EXPECT_EQ(piece(2, 0), "2@0+40");
    EXPECT_EQ(piece(2, 1), "3@40+100");
    EXPECT_EQ(piece(2, 2), "4@140+10");
    EXPECT_EQ(piece(3, 0), "4@0+0");
    EXPECT_EQ(plan.used, (std::vector<uint64_t>{80, 100, 100, 10}));

    EXPECT_FALSE(PlanDisks({}, bytes, {{"", "root", 101, false}}).fits);
    const DiskPlan tooLarge = PlanDisks({{"", "a", 10, true}, {"", "b", 101, false}}, bytes, {});
    EXPECT_FALSE(tooLarge.fits);
    EXPECT_EQ(tooLarge.tooLarge, 1);

    // A floppy's root has 224 slots, one of them for the volume label.
    std::vector<StoredFile> slots;
    for (int i = 0; i < 223; ++i)
        slots.push_back({"", "F" + std::to_string(i), 1, false});
    EXPECT_TRUE(PlanDisks({}, *ParseDiskSize("floppy"), slots).fits);
    slots.push_back({"", "LAST", 1, false});
    EXPECT_FALSE(PlanDisks({}, *ParseDiskSize("floppy"), slots).fits);

    EXPECT_EQ(ParseDiskSize("floppy")->Bytes(), 1457664u);
    EXPECT_EQ(ParseDiskSize("CD700")->system, FileSystem::Iso9660);
    EXPECT_EQ(ParseDiskSize("123456")->Bytes(), 123456u);
    EXPECT_FALSE(ParseDiskSize("0"));
    EXPECT_FALSE(ParseDiskSize("1.44"));
}

// Many small files take far more sectors than their bytes: every disk of a
// plan for a small CD makes an ISO 9660 image with Joliet names within it.
TEST(DiskPlan, EveryDiskOfACdFitsTheImageXorrisoMakesOfIt)
{
    TempFolder folder{"tesselpack"};
    const DiskFormat cd{FileSystem::Iso9660, 2048, 700, 0};
    std::vector<StoredFile> files;
    for (int i = 0; i < 600; ++i)
        files.push_back({"Samples\\Set " + std::to_string(i % 5), "Picture number " + std::to_string(i) + ".skp",
                         300, true});
    files.push_back({"Program", "Sketch.exe", 900000, true});
    const std::vector<StoredFile> root{{"", "setup.exe", 100000, false}};
    const DiskPlan plan = PlanDisks(files, cd, root);
    ASSERT_TRUE(plan.fits);
    ASSERT_GE(plan.disks, 2);

    for (int disk = 1; disk <= plan.disks; ++disk) {
        SCOPED_TRACE(disk);
        const fs::path tree = folder / ("tree" + std::to_string(disk));
        fs::create_directories(tree);
        if (disk == 1)
            WriteFile(tree / "setup.exe", std::string(100000, 's'));
        for (size_t f = 0; f < files.size(); ++f)
            for (const Piece& piece : plan.pieces[f])
                if (piece.disk == disk) {
                    std::string below = files[f].folder;
                    std::replace(below.begin(), below.end(), '\\', '/');
                    WriteFile(tree / ("Disk" + std::to_string(disk)) / below / files[f].name,
                              std::string(piece.length, 'x'));
                }
        const fs::path image = folder / "disk.iso";
        const CommandRun made = Shell("xorriso -as mkisofs -J --norock -quiet -o '" + image.string() + "' '" +
                                      tree.string() + "'");
        ASSERT_EQ(made.status, 0) << made.output;
        EXPECT_LE(fs::file_size(image) / 2048, plan.used[disk - 1]);
        EXPECT_LE(plan.used[disk - 1], cd.units);
    }
}

TEST(ScriptEdit, RepeatsACallWithNewArgumentsAndKeepsEverythingElse)
{
    const std::string bytes = "// first\r\n  AddFile(\"a\"\"b\", \"[DP]\\\",  \"x\");  // note\r\nShowCopy;\r\n";
    // The name at line 2, column 3; the quotes at columns 11, 19 and 29.
    const CallText call = LocateCall(bytes, {2, 3}, {{2, 11}, {2, 19}, {2, 29}});
    ASSERT_EQ(call.arguments.size(), 3u);
    EXPECT_EQ(bytes.substr(call.arguments[0].begin, call.arguments[0].end - call.arguments[0].begin), "a\"\"b");
    const std::string text = RepeatCall(bytes, call, {{{0, "one"}}, {{0, "t\"wo"}, {2, "y"}}});
    EXPECT_EQ(ApplyChanges(bytes, {{call.begin, call.end, text}}),
              "// first\r\n  AddFile(\"one\", \"[DP]\\\",  \"x\");\r\n  AddFile(\"t\"\"wo\", \"[DP]\\\",  \"y\");"
              "  // note\r\nShowCopy;\r\n");
}

// ------------------------------------------------------------ the program --

namespace {

const fs::path kDist = fs::read_symlink("/proc/self/exe").parent_path() / "dist";

// An author's product: the example's script and files of chosen sizes.
struct Product {
    TempFolder folder{"tesselpack"};
    fs::path script = folder / "SetupScript.INI";
    fs::path staging = folder / "staging";
    fs::path medium = folder / "medium";

    Product()
    {
        fs::copy_file(fs::path(TESSEL_SOURCE_DIR) / "examples" / "demo" / "SetupScript.INI", script);
        WriteFile(staging / "Program" / "TesselDemo.exe", Random(1500000, 5, 16));
        WriteFile(staging / "Program" / "Readme.txt", ReadFile(fs::path(TESSEL_SOURCE_DIR) / "README.md"));
        WriteFile(staging / "Shared" / "Tiles.dll", Random(300000, 6));  // does not shrink
        WriteFile(staging / "Licence.txt", ReadFile(fs::path(TESSEL_SOURCE_DIR) / "examples" / "demo" / "Licence.txt"));
    }

    CommandRun Pack(const std::string& options) const
    {
        return PackAs("--out '" + medium.string() + "' " + options);
    }
    CommandRun PackAs(const std::string& options) const
    {
        return Shell("ASAN_OPTIONS=exitcode=86 '" + (kDist / "tesselpack").string() + "' '" + script.string() +
                     "' --from '" + staging.string() + "' " + options);
    }
};

std::string Joined(const std::vector<fs::path>& pieces)
{
    std::string bytes;
    for (const fs::path& piece : pieces)
        bytes += ReadFile(piece);
    return bytes;
}

}  // namespace

TEST(Tesselpack, PacksOverDisksCompressesCutsAndRewritesOnlyTheAddFileLines)
{
    Product product;
    // Disk 1 has room for about 800,000 bytes beside the programs: enough,
    // however small they are, for disk 2 to take the rest.
    const uint64_t disk = fs::file_size(kDist / "setup.exe") + fs::file_size(kDist / "Unskein.exe") + 800000;
    const CommandRun run = product.Pack("--disk-size " + std::to_string(disk));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("tesselpack: 4 files, "), std::string::npos) << run.output;
    const fs::path& m = product.medium;

    // Every disk within its size; disk 1 with the root files.
    uint64_t root = 0;
    for (const char* name : {"setup.exe", "Unskein.exe", "SetupScript.INI"})
        root += fs::file_size(m / name);
    for (const char* d : {"Disk1", "Disk2"}) {
        uint64_t used = d[4] == '1' ? root : 0;
        for (const auto& entry : fs::recursive_directory_iterator(m / d))
            used += entry.is_regular_file() ? entry.file_size() : 0;
        EXPECT_LE(used, disk) << d;
    }
    EXPECT_FALSE(fs::exists(m / "Disk3"));
    EXPECT_FALSE(fs::exists(m / ".tesselpack-work"));

    // The program is compressed and cut in two; its pieces join and expand to it.
    const std::string joined = Joined({m / "Disk1/Program/TesselDemo.ex_", m / "Disk2/Program/TesselDemo.ex_"});
    std::vector<uint8_t> expanded;
    ASSERT_TRUE(ExpandSzdd(reinterpret_cast<const uint8_t*>(joined.data()), joined.size(), expanded));
    EXPECT_EQ(std::string(expanded.begin(), expanded.end()), ReadFile(product.staging / "Program/TesselDemo.exe"));
    EXPECT_EQ(ReadFile(m / "Disk2/Shared/Tiles.dll"), ReadFile(product.staging / "Shared/Tiles.dll"));
    EXPECT_TRUE(fs::exists(m / "Disk2/Program/Readme.tx_"));
    EXPECT_EQ(ReadFile(m / "setup.exe"), ReadFile(kDist / "setup.exe"));
    // The licence page reads its file before setup asks for disk 2: whole, as it is, on disk 1.
    EXPECT_EQ(ReadFile(m / "Disk1/Licence.txt"), ReadFile(product.staging / "Licence.txt"));

    const std::string before = ReadFile(product.script);
    std::string expected = before;
    auto replace = [&](const std::string& from, const std::string& to) { expected.replace(expected.find(from), from.size(), to); };
    replace("AddFile(\"[SP]\\Program\\TesselDemo.exe\", \"[DP]\\\", \"Program\", \"0\", \"1\", \"0\", \"0\"",
            "AddFile(\"[SP]\\Disk1\\Program\\TesselDemo.ex_\", \"[DP]\\TesselDemo.exe\", \"Program\", \"0\", \"1\", "
            "\"1\", \"0\", \"0\", \"1\", \"Tessel Demo\");\r\n"
            "AddFile(\"[SP]\\Disk2\\Program\\TesselDemo.ex_\", \"[DP]\\TesselDemo.exe\", \"Program\", \"0\", \"2\", "
            "\"1\", \"1\"");
    replace("[SP]\\Shared\\Tiles.dll\", \"[SYSPATH]\\\", \"Program\", \"1\", \"1\"",
            "[SP]\\Disk2\\Shared\\Tiles.dll\", \"[SYSPATH]\\\", \"Program\", \"1\", \"2\"");
    replace("[SP]\\Licence.txt", "[SP]\\Disk1\\Licence.txt");
    replace("[SP]\\Program\\Readme.txt\", \"[DP]\\\", \"Documentation\", \"0\", \"1\"",
            "[SP]\\Disk2\\Program\\Readme.tx_\", \"[DP]\\Readme.txt\", \"Documentation\", \"0\", \"2\"");
    EXPECT_EQ(ReadFile(m / "SetupScript.INI"), expected);

    const CommandRun check = Shell("'" + (kDist.parent_path() / "scriptcheck").string() + "' '" +
                            (m / "SetupScript.INI").string() + "'");
    EXPECT_EQ(check.status, 0) << check.output;
}

// Every disk packed for floppies copies onto a FAT12 image; a full disk
// leaves not one cluster free, and the summary says what mtools counts.
TEST(Tesselpack, FloppyDisksCopyOntoFloppiesAndFillThemToTheLastCluster)
{
    Product product;
    WriteFile(product.staging / "Program" / "TesselDemo.exe", Random(3000000, 7));
    std::string script = ReadFile(product.script);
    const size_t readme = script.find("\r\n", script.find("Readme.txt")) + 2;
    script.insert(readme, "AddFile(\"[SP]\\Samples\\*.*\", \"[DP]\\Samples\\\", \"Documentation\", \"0\", \"1\", \"0\", \"0\", "
              "\"0\", \"0\", \"\");\r\nAddFolder(\"[SP]\\Levels\", \"[DP]\\Levels\", \"Documentation\", \"*.*\");\r\n");
    WriteFile(product.script, script);
    for (int i = 0; i < 9; ++i)  // long names, three clusters of folder entries
        WriteFile(product.staging / "Samples" / ("A sample picture, number " + std::to_string(i) + ".skp"), "tiles");
    // A tree whose empty folders take a cluster each.
    WriteFile(product.staging / "Levels" / "First" / "one.lvl", "level");
    for (const char* empty : {"Empty", "Deeper/Still empty"})
        fs::create_directories(product.staging / "Levels" / empty);
    const CommandRun run = product.Pack("--disk-size floppy --compress none");
    ASSERT_EQ(run.status, 0) << run.output;

    const fs::path image = product.folder / "floppy.img";
    int disk = 1;
    for (; fs::exists(product.medium / ("Disk" + std::to_string(disk))); ++disk) {
        SCOPED_TRACE(disk);
        fs::remove(image);
        const std::string mtools = " -i '" + image.string() + "' ";
        std::string copy = "mformat -C -f 1440" + mtools + ":: && mcopy -s" + mtools + "'" +
                           (product.medium / ("Disk" + std::to_string(disk))).string() + "'";
        if (disk == 1)
            for (const char* name : {"setup.exe", "Unskein.exe", "SetupScript.INI"})
                copy += " '" + (product.medium / name).string() + "'";
        const CommandRun copied = Shell(copy + " :: && mdir" + mtools + "::");
        ASSERT_EQ(copied.status, 0) << copied.output;
        std::string free = copied.output.substr(copied.output.rfind('\n', copied.output.find(" bytes free")));
        free.erase(std::remove_if(free.begin(), free.end(), [](char c) { return !std::isdigit(c); }), free.end());
        const size_t said = run.output.find("Disk" + std::to_string(disk) + " takes ");
        ASSERT_NE(said, std::string::npos) << run.output;
        std::string left = run.output.substr(run.output.find("medium, ", said) + 8);
        left = left.substr(0, left.find(" bytes left"));
        left.erase(std::remove(left.begin(), left.end(), ','), left.end());
        EXPECT_EQ(left, free);
        if (fs::exists(product.medium / ("Disk" + std::to_string(disk + 1)))) {
            EXPECT_EQ(free, "0");
        }
    }
    EXPECT_EQ(disk, 4);  // 3,000,000 bytes and the rest: three disks
}

TEST(Tesselpack, BadInputStopsWithAClearMessageAndLeavesNoMedium)
{
    Product product;
    fs::remove(product.staging / "Shared/Tiles.dll");
    CommandRun run = product.Pack("");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find(product.script.string() + ":18:9: error: the source pattern '[SP]\\Shared\\Tiles.dll' "
                              "matches no file in '" + product.staging.string() + "'"),
              std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(product.medium));
    WriteFile(product.staging / "Shared/Tiles.dll", "tiles");

    run = product.Pack("--compress '*.txt,*.hlp'");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("the pattern '*.hlp' of --compress matches none of the files"), std::string::npos);

    run = product.Pack("--disk-size 1000");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("the disk size 1,000 is smaller than setup.exe, Unskein.exe and the script"),
              std::string::npos) << run.output;
    EXPECT_NE(run.output.find("removed what it had written of the medium"), std::string::npos);
    EXPECT_FALSE(fs::exists(product.medium));

    WriteFile(product.medium / "old", "an older medium");
    run = product.Pack("");
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.output.find("is not empty"), std::string::npos) << run.output;
    EXPECT_TRUE(fs::exists(product.medium / "old"));
    fs::remove(product.medium / "old");
    fs::remove(product.medium);
    WriteFile(product.folder / "file", "");
    run = Shell("'" + (kDist / "tesselpack").string() + "' '" + product.script.string() + "' --from '" +
                product.staging.string() + "' --out '" + (product.folder / "file/medium").string() + "'");
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.output.find("cannot create the medium folder"), std::string::npos) << run.output;

    WriteFile(product.script, "SetAppName(\"x\", \"y\");\n");
    run = product.Pack("");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find(":1:1: error: 'SetAppName' takes 1 argument, not 2"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(product.medium));
}

// The licence that a page shows stays as it is, also where a pattern names it.
TEST(Tesselpack, CompressPatternNamingOnlyFilesKeptAsTheyAreIsNoMistake)
{
    Product product;
    const CommandRun run = product.Pack("--compress 'licence.txt'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadFile(product.medium / "Disk1" / "Licence.txt"), ReadFile(product.staging / "Licence.txt"));
}

// scriptcheck --tesselpack says what tesselpack says, in its words and at
// the author's lines; on the example it finds nothing, though the folder
// lacks Unskein.exe, which tesselpack supplies.
TEST(Tesselpack, FindingsAreScriptchecksAtTheAuthorsLines)
{
    Product product;
    const auto check = [&] {
        return Shell("'" + (kDist.parent_path() / "scriptcheck").string() + "' --tesselpack --medium '" +
                     product.staging.string() + "' '" + product.script.string() + "'");
    };
    EXPECT_EQ(check().status, 0) << check().output;

    const std::string text = ReadFile(product.script);
    const auto lineOf = [&](size_t at) { return std::to_string(1 + std::count(text.begin(), text.begin() + at, '\n')); };
    fs::remove(product.staging / "Shared/Tiles.dll");
    const CommandRun checked = check();
    const CommandRun packed = product.Pack("");
    EXPECT_EQ(checked.status, 2);
    EXPECT_EQ(packed.status, 2);
    const std::string finding = product.script.string() + ":" + lineOf(text.find("[SP]\\Shared\\Tiles.dll")) +
                                ":9: error: the source pattern "
                                "'[SP]\\Shared\\Tiles.dll' matches no file in '" + product.staging.string() +
                                "': put the file there or correct the pattern\n";
    EXPECT_NE(checked.output.find(finding), std::string::npos) << checked.output;
    EXPECT_NE(packed.output.find(finding), std::string::npos) << packed.output;

    // The spread program moves the later lines of the written script down.
    WriteFile(product.staging / "Shared/Tiles.dll", "tiles");
    WriteFile(product.script, ReadFile(product.script) + "ForbidProcess(\"Tools\\Ledger.exe\");\n");
    const CommandRun warned = product.Pack("--disk-size floppy");
    EXPECT_EQ(warned.status, 1) << warned.output;
    EXPECT_NE(warned.output.find(product.script.string() + ":" + lineOf(text.size()) +
                                 ":15: warning: ForbidProcess compares"),
              std::string::npos) << warned.output;
    EXPECT_EQ(warned.output.find("medium/SetupScript.INI:"), std::string::npos) << warned.output;
}

// An empty folder of a tree is a record of the package, but no file.
TEST(Tesselpack, SingleFileCountsTheFilesItCarries)
{
    Product product;
    std::string script = ReadFile(product.script);
    script.insert(script.find("ShowCopy"), "AddFolder(\"[SP]\\Levels\", \"[DP]\\Levels\", \"Documentation\", \"*.*\");\r\n");
    WriteFile(product.script, script);
    WriteFile(product.staging / "Levels" / "one.lvl", "level");
    fs::create_directories(product.staging / "Levels" / "Empty");
    const CommandRun run = product.PackAs("--single-file '" + (product.folder / "Product.exe").string() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("the starter and a package of 8 files"), std::string::npos) << run.output;
}

TEST(Tesselpack, SingleFileIsTheStarterCarryingTheMediumAndNothingElse)
{
    Product product;
    const fs::path out = product.folder / "Product.exe";
    CommandRun run = product.PackAs("--single-file '" + out.string() + "' --compress all");
    ASSERT_EQ(run.status, 0) << run.output;
    std::vector<std::string> beside;
    for (const auto& entry : fs::directory_iterator(product.folder.Path()))
        beside.push_back(entry.path().filename().string());
    std::sort(beside.begin(), beside.end());
    EXPECT_EQ(beside, (std::vector<std::string>{"Product.exe", "SetupScript.INI", "staging"}));

    const std::string program = ReadFile(out);
    const std::optional<std::string> starter = payload::BareProgram(ReadFile(kDist / "starter.exe"));
    ASSERT_TRUE(starter);
    EXPECT_EQ(program.substr(0, starter->size()), *starter);
    const std::optional<payload::Package> package = package_samples::CheckedPackage(program);
    ASSERT_TRUE(package);
    std::vector<std::string> names;
    uint64_t at = package->dataOffset;
    for (const payload::Entry& entry : package->entries) {
        names.push_back(entry.name);
        if (entry.name == "setup.exe") {
            EXPECT_EQ(program.substr(at, entry.size), ReadFile(kDist / "setup.exe"));
        }
        at += entry.size;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Disk1\\Licence.txt", "Disk1\\Program\\Readme.tx_", "Disk1\\Program\\TesselDemo.ex_",
                                               "Disk1\\Shared\\Tiles.dll", "SetupScript.INI", "Unskein.exe",
                                               "setup.exe"}));

    // Without --compress: every file in LZMA, the files at the top in a
    // stream of their own, the others in the script's order, each decoding
    // to the author's bytes.
    run = product.PackAs("--single-file '" + out.string() + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string solid = ReadFile(out);
    const std::optional<payload::Package> solidPackage = package_samples::CheckedPackage(solid);
    ASSERT_TRUE(solidPackage);
    names.clear();
    package_samples::StringSource source(solid);
    payload::SolidReader reader(source, *solidPackage);
    for (size_t e = 0; e < solidPackage->entries.size(); ++e) {
        const payload::Entry& entry = solidPackage->entries[e];
        names.push_back(entry.name);
        EXPECT_TRUE(entry.InStream()) << entry.name;
        EXPECT_EQ(entry.stream == 0, !payload::StaysInPackage(entry)) << entry.name;
        std::string bytes(entry.size, '\0');
        EXPECT_TRUE(reader.Read(e, 0, &bytes[0], bytes.size()));
        if (!payload::StaysInPackage(entry))
            continue;
        std::string below = entry.name.substr(6);
        std::replace(below.begin(), below.end(), '\\', '/');
        EXPECT_TRUE(bytes == ReadFile(product.staging / below)) << below;
    }
    // The licence page's file first: the page reads it before setup installs.
    EXPECT_EQ(names, (std::vector<std::string>{"SetupScript.INI", "Unskein.exe", "setup.exe", "Disk1\\Licence.txt",
                                               "Disk1\\Program\\TesselDemo.exe", "Disk1\\Shared\\Tiles.dll",
                                               "Disk1\\Program\\Readme.txt"}));

    fs::remove(out);
    for (const std::string& other : {"--out '" + product.medium.string() + "'", std::string("--disk-size floppy")}) {
        run = product.PackAs("--single-file '" + out.string() + "' " + other);
        EXPECT_EQ(run.status, 3);
        EXPECT_NE(run.output.find("--single-file makes one program of one disk: leave out --out and --disk-size"),
                  std::string::npos) << run.output;
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(product.medium));
    }
}
