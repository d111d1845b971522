#include "tools/psblock/psblock.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <gtest/gtest.h>

#include "app/settings_block.h"
#include "app/settings_message.h"

namespace psblock {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result RunTool(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunPsblock(args, out, err);
    return {status, out.str(), err.str()};
}

// A fresh directory for one test.
std::string Dir(const std::string& name) {
    const fs::path dir = fs::path(testing::TempDir()) / ("psblock_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes NewBlock(const std::vector<std::string>& options = {}) {
    std::vector<std::string> args{"new"};
    args.insert(args.end(), options.begin(), options.end());
    const Result r = RunTool(args);
    EXPECT_EQ(r.status, kExitOk) << r.err;
    return Bytes(r.out.begin(), r.out.end());
}

app::PrinterSettingsBlock BlockOf(const Bytes& bytes) {
    app::PrinterSettingsBlock b;
    EXPECT_TRUE(b.assign(bytes));
    return b;
}

// `new` writes the new-block defaults; the options fill the printer, the driver path (UTF-8 in,
// code page 1250 stored) and the device properties flag.
TEST(Psblock, NewWritesDefaultBlock) {
    app::PrinterSettingsBlock expected;
    app::ApplyNewBlockDefaults(expected);
    EXPECT_EQ(BlockOf(NewBlock()), expected);

    const app::PrinterSettingsBlock b = BlockOf(NewBlock(
        {"--printer", "Tla\xC4\x8Diare\xC5\x88", "--driver=C:\\DRV\\VELA.DRV", "--device"}));
    EXPECT_EQ(b.printerName(), "Tla\xE8iare\xF2");
    EXPECT_EQ(b.driverFilePath(), "C:\\DRV\\VELA.DRV");
    EXPECT_EQ(b.devicePropertiesMode(), 1);
    EXPECT_EQ(b.paperSize(), expected.paperSize());
}

// `set` edits fields in place, the overlay members and a message's header included, and keeps
// every other byte.
TEST(Psblock, SetEditsInPlace) {
    const std::string dir = Dir("set");
    const std::string block = dir + "/block.bin";
    const std::string message = dir + "/message.bin";
    const Bytes original = NewBlock();
    WriteFile(block, original);
    app::SettingsMessageBytes m = app::BuildSettingsMessage(BlockOf(original));
    m[8] = 0x44;
    WriteFile(message, Bytes(m.begin(), m.end()));

    Result r = RunTool({"set", block, "paperSize=9", "customSizeWidth=210.5",
                        "watermarkText=N\xC3\x81VRH", "overlaySlots[3].fileName=FORM.OVL",
                        "overlaySlots[3].device=-2", "diskInstalled=255", "emailAddress="});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    app::PrinterSettingsBlock b = BlockOf(ReadFile(block));
    EXPECT_EQ(b.paperSize(), 9);
    EXPECT_EQ(b.customSizeWidth(), 210.5f);
    EXPECT_EQ(b.watermarkText(), "N\xC1VRH");
    EXPECT_EQ(b.overlayFileName(app::kOverlayOddPages), "FORM.OVL");
    EXPECT_EQ(b.overlayDevice(app::kOverlayOddPages), -2);
    EXPECT_EQ(b.diskInstalled(), 255);
    b.setPaperSize(1);
    b.setCustomSizeWidth(0.0f);
    b.setWatermarkText("Vodoznak");
    b.setOverlaySlot(app::kOverlayOddPages, {});
    b.setDiskInstalled(0);
    EXPECT_EQ(b, BlockOf(original));

    r = RunTool({"set", message, "copies=3", "message.type=1"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const Bytes after = ReadFile(message);
    ASSERT_EQ(after.size(), 1312u);
    EXPECT_EQ(after[8], 0x44);
    EXPECT_EQ(after[4], 1);
    EXPECT_EQ(app::ParseSettingsMessage(after)->block.copies(), 3);
}

// `show` prints a message's header first, then every field with offset, name and value.
TEST(Psblock, ShowPrintsHeaderAndFields) {
    const std::string dir = Dir("show");
    app::PrinterSettingsBlock b = BlockOf(NewBlock());
    b.setAccountingAuthor("\"J\xE1n\"\x01");
    b.setCustomSizeHeight(297.25f);
    app::SettingsMessageBytes m = app::BuildSettingsMessage(b);
    m[8] = 0x2A;
    WriteFile(dir + "/m.bin", Bytes(m.begin(), m.end()));

    const Result r = RunTool({"show", dir + "/m.bin"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    const char* lines[] = {
        "   0  message.size                   1312\n",
        "   4  message.type                   1\n",
        "   8  message.ownerWindow            42\n",
        " 169  paperSize                      1\n",
        " 840  watermarkName                  \"\xC5\xBD"
        "iadny\"\n",
        "1004  accountingAuthor               \"\\\"J\xC3\xA1n\\\"\\x01\"\n",
        "1292  customSizeHeight               297.25\n",
        " 817  overlaySlots[4].fileName       \"\"\n",
    };
    for (const char* line : lines) {
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "in\n" << r.out;
    }
    EXPECT_LT(r.out.find("message.ownerWindow"), r.out.find("devicePropertiesMode"));
}

// `diff` lists the fields that differ with both values and counts differing reserved bytes.
TEST(Psblock, DiffListsDifferences) {
    const std::string dir = Dir("diff");
    const Bytes a = NewBlock();
    Bytes b = a;
    b[169] = 9;    // paperSize
    b[134] = 0x55; // reserved
    b[140] = 0x56; // reserved
    b[850] = 'x';  // after the terminator of watermarkName
    WriteFile(dir + "/a.bin", a);
    WriteFile(dir + "/b.bin", b);
    app::SettingsMessageBytes m = app::BuildSettingsMessage(BlockOf(a));
    WriteFile(dir + "/a.msg", Bytes(m.begin(), m.end()));

    Result r = RunTool({"diff", dir + "/a.bin", dir + "/b.bin"});
    EXPECT_EQ(r.status, kExitDifferent);
    EXPECT_EQ(r.out, "paperSize: 1 -> 9\n"
                     "watermarkName: \"\xC5\xBD"
                     "iadny\", bytes after the terminator differ\n"
                     "reserved bytes differing: 2\n");

    r = RunTool({"diff", dir + "/a.bin", dir + "/a.msg"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(r.out, "reserved bytes differing: 0\n");
}

// Bad input fails with status 2 and one line on the error stream, and the file is not written.
TEST(Psblock, BadInputFailsWithoutWriting) {
    const std::string dir = Dir("bad");
    const std::string file = dir + "/block.bin";
    const std::string shortFile = dir + "/short.bin";
    const Bytes original = NewBlock();
    const std::string longFile = dir + "/long.bin";
    WriteFile(shortFile, Bytes(1301, 0));
    WriteFile(longFile, Bytes(4000, 0));
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"set", shortFile, "copies=2"}, "1301 bytes; a settings block has 1300"},
        {{"show", longFile}, "more than 1312 bytes"},
        {{"show", shortFile}, "1301 bytes"},
        {{"show", dir + "/missing.bin"}, "cannot open"},
        {{"set", file, "copies=2", "noSuchField=1"}, "noSuchField: no such field"},
        {{"set", file, "copies=2", "copies=40000"}, "out of range for int16"},
        {{"set", file, "diskInstalled=-1"}, "out of range for uint8"},
        {{"set", file, "resolutionDpi=99999999999999999999"}, "out of range for int32"},
        {{"set", file, "copies=12x"}, "not a whole number"},
        {{"set", file, "copies="}, "not a whole number"},
        {{"set", file, "customSizeWidth=abc"}, "not a number"},
        {{"set", file, "customSizeWidth=1e39"}, "out of range for float"},
        {{"set", file, "customSizeWidth=nan"}, "not a finite number"},
        {{"set", file, "printerName=" + std::string(64, 'p')}, "too long (64 bytes, at most 63)"},
        {{"set", file, "printerAddress=\xE4\xB8\xAD"}, "outside code page 1250"},
        {{"set", file, "copies"}, "expected name=value"},
        {{"set", file, "message.type=1"}, "not a settings message"},
        {{"set", file}, "at least one"},
        {{"new", "--paper", "A4"}, "unknown option --paper"},
        {{"new", "--printer"}, "needs a value"},
        {{"new", "--printer", std::string(64, 'p')}, "too long"},
        {{"frobnicate"}, "unknown command"},
        {{"diff", file}, "two files"},
    };
    for (const Case& c : cases) {
        WriteFile(file, original);
        const Result r = RunTool(c.args);
        EXPECT_EQ(r.status, kExitError) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_TRUE(r.out.empty()) << c.message;
        EXPECT_EQ(ReadFile(file), original) << c.message;
    }
    // Nothing but the three files is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) {
        ++files;
    }
    EXPECT_EQ(files, 3);
    EXPECT_EQ(RunTool({}).status, kExitError);
}

// The built program itself (under Wine in the Windows build): writes a block to its standard
// output byte for byte, and refuses a bad edit with status 2.
TEST(Psblock, ProgramRunsAndReportsStatus) {
    fs::path program = fs::path(VELA_BINARY_DIR) / "bin" / "psblock";
#ifdef _WIN32
    program += ".exe";
#endif
    ASSERT_TRUE(fs::exists(program)) << program;
    const std::string dir = Dir("program");
    const fs::path file = fs::path(dir) / "new.bin";
    const auto run = [&](const std::string& arguments) {
        std::string command = "\"";
        command += program.make_preferred().string();
        command += "\" ";
        command += arguments;
#ifdef _WIN32
        // cmd /c drops the outermost quotes of a command line that starts with one.
        command.insert(command.begin(), '"');
        command += '"';
#endif
        const int status = std::system(command.c_str());
#ifdef _WIN32
        return status;
#else
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    };
    ASSERT_EQ(run("new --printer Vela --device > \"" + file.string() + "\""), 0);
    const Bytes bytes = ReadFile(file.string());
    ASSERT_EQ(bytes.size(), 1300u);
    EXPECT_EQ(BlockOf(bytes).printerName(), "Vela");
    EXPECT_EQ(BlockOf(bytes).devicePropertiesMode(), 1);
    EXPECT_EQ(BlockOf(bytes).reservedCode(), -1);

    EXPECT_EQ(run("set \"" + file.string() + "\" paperSize=99999 2> \"" + dir + "/err.txt\""), 2);
    EXPECT_EQ(ReadFile(file.string()), bytes);
    EXPECT_EQ(run("set \"" + file.string() + "\" paperSize=9"), 0);
    EXPECT_EQ(BlockOf(ReadFile(file.string())).paperSize(), 9);
}

} // namespace
} // namespace psblock
