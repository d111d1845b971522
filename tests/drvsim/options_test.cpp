#include "tools/drvsim/options.h"

#include <cstring>

#include <gtest/gtest.h>

#include "app/settings_message.h"

namespace drvsim {
namespace {

std::optional<Options> Parse(std::vector<std::string> args, std::string* error = nullptr) {
    return ParseOptions(args, error);
}

TEST(DrvsimOptions, ParsesARun) {
    const auto options = Parse({"--printer",
                                "Vela",
                                "--driver",
                                "C:\\d\\v.dll",
                                "--device",
                                "--set",
                                "snmpCommunity=public",
                                "--random-reserved",
                                "0x2A",
                                "--owner",
                                "0x1234",
                                "--poke",
                                "28",
                                "--poke",
                                "0",
                                "--poke",
                                "1312",
                                "--topic",
                                "SYSTEM",
                                "--item",
                                "Status",
                                "--links",
                                "2",
                                "--script",
                                "s.txt",
                                "--answer",
                                "a.bin",
                                "--sent",
                                "s.bin",
                                "--timeout-ms",
                                "500",
                                "--disconnect-when-shown"});
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(*options->printer, "Vela");
    EXPECT_EQ(*options->driver, "C:\\d\\v.dll");
    EXPECT_TRUE(options->device);
    EXPECT_EQ(options->sets, std::vector<std::string>{"snmpCommunity=public"});
    EXPECT_EQ(options->randomReserved, 42u);
    EXPECT_EQ(options->owner, 0x1234);
    EXPECT_EQ(options->pokes, (std::vector<std::size_t>{28, 0, 1312}));
    EXPECT_EQ(options->topic, "SYSTEM");
    EXPECT_EQ(options->item, "Status");
    EXPECT_EQ(options->links, 2);
    EXPECT_EQ(options->script, "s.txt");
    EXPECT_EQ(options->timeoutMs, 500);
    EXPECT_TRUE(options->disconnectWhenShown);
    EXPECT_FALSE(options->attach);
    EXPECT_TRUE(Parse({"--block", "b.bin", "--owner", "self", "--no-poke", "--attach"})->ownerSelf);
}

// Wrong command lines are refused with a reason.
TEST(DrvsimOptions, RefusesWrongCommandLines) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--printer", "Vela"},
        {"--block", "b", "--printer", "Vela"},
        {"--block", "b", "--poke"},
        {"--block", "b", "--poke", "-1"},
        {"--block", "b", "--poke", "70000"},
        {"--block", "b", "--links", "0"},
        {"--block", "b", "--owner", "window"},
        {"--block", "b", "--no-poke", "--poke", "1312"},
        {"--block", "b", "--attach", "--program", "x.exe"},
        {"--block", "b", "--frobnicate", "1"},
        {"--block", "b", "stray"},
        {"--block", "b", "--args", "1"},
        {"--no-driver", "--script", "s.txt"},
        {"--no-driver", "--program", "p.exe"},
        {"--no-driver", "--program", "p.exe", "--script", "s", "--block", "b"},
        {"--no-driver", "--program", "p.exe", "--script", "s", "--attach"},
        {"--no-driver", "--program", "p.exe", "--script", "s", "--answer", "a"},
    };
    for (const auto& args : cases) {
        std::string error;
        EXPECT_FALSE(Parse(args, &error).has_value()) << args.size();
        EXPECT_FALSE(error.empty());
    }
}

// Without the driver only the program, its arguments and the script are given.
TEST(DrvsimOptions, ParsesARunWithoutTheDriver) {
    const auto options =
        Parse({"--no-driver", "--program", "dlgview.exe", "--args", "117 --demo \"C:\\v\\x.ppd\"",
               "--script", "s.txt", "--timeout-ms", "100"});
    ASSERT_TRUE(options.has_value());
    EXPECT_TRUE(options->noDriver);
    EXPECT_EQ(options->program, "dlgview.exe");
    EXPECT_EQ(options->args, "117 --demo \"C:\\v\\x.ppd\"");
    EXPECT_EQ(options->script, "s.txt");
    EXPECT_EQ(options->timeoutMs, 100);
}

// A block gets the driver's header; a whole message keeps its size and type; the owner window
// is always the one chosen.
TEST(DrvsimOptions, MessagesOfFiles) {
    std::vector<std::uint8_t> block(1300);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::uint8_t>(i);
    const auto message = MessageOfFile(block, 0x00ABCDEF);
    ASSERT_TRUE(message.has_value());
    ASSERT_EQ(message->size(), 1312u);
    std::int32_t header[3];
    std::memcpy(header, message->data(), sizeof header);
    EXPECT_EQ(header[0], 1312);
    EXPECT_EQ(header[1], 1);
    EXPECT_EQ(header[2], 0x00ABCDEF);
    EXPECT_EQ(std::memcmp(message->data() + 12, block.data(), 1300), 0);

    std::vector<std::uint8_t> whole(*message);
    whole[4] = 9;
    const auto again = MessageOfFile(whole, 0);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ((*again)[4], 9);
    EXPECT_EQ((*again)[8], 0);
    EXPECT_FALSE(MessageOfFile(std::vector<std::uint8_t>(1299), 0).has_value());
}

TEST(DrvsimOptions, SizedPokes) {
    const std::vector<std::uint8_t> message(1312, 0xAB);
    EXPECT_EQ(SizedPoke(message, 0).size(), 0u);
    EXPECT_EQ(SizedPoke(message, 28), std::vector<std::uint8_t>(28, 0xAB));
    const std::vector<std::uint8_t> longer = SizedPoke(message, 1400);
    ASSERT_EQ(longer.size(), 1400u);
    EXPECT_TRUE(std::equal(message.begin(), message.end(), longer.begin()));
    EXPECT_EQ(longer[1312], static_cast<std::uint8_t>(1312 * 7 + 3));
}

// Only the reserved bytes change, reproducibly for a seed.
TEST(DrvsimOptions, RandomReservedBytes) {
    app::PrinterSettingsBlock a;
    app::ApplyNewBlockDefaults(a);
    app::PrinterSettingsBlock b = a;
    const app::PrinterSettingsBlock before = a;
    FillReservedBytes(a, 7);
    FillReservedBytes(b, 7);
    EXPECT_EQ(a, b);
    int changed = 0;
    for (const app::SettingsField& field : app::SettingsFields()) {
        for (std::size_t i = field.offset; i < std::size_t{field.offset} + field.size; ++i) {
            if (field.named())
                ASSERT_EQ(a.data()[i], before.data()[i]) << field.name;
            else
                changed += a.data()[i] != before.data()[i];
        }
    }
    EXPECT_GT(changed, 25); // of the 31 reserved bytes
}

} // namespace
} // namespace drvsim
