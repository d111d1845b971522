#pragma once
// drvsim's command line and the messages it pokes.
//
//   drvsim [--program PATH | --attach]
//          (--block FILE | --printer NAME --driver PATH [--device]) [--set NAME=VALUE]...
//          [--random-reserved SEED] [--owner N|self]
//          [--poke SIZE]... | [--no-poke]   [--topic NAME] [--item NAME] [--links N]
//          [--disconnect-when-shown] [--script FILE] [--answer FILE] [--sent FILE]
//          [--timeout-ms N]
//   drvsim --no-driver --program PATH [--args TEXT] --script FILE
//          (no settings exchange: the script drives the windows of a program such as
//          `dlgview ID --demo PPD`, beginning with a `dialog` command, or the property sheet
//          of a program that shows one, such as the start-up benchmark's bare_sheet, whose time
//          to the sheet is printed as the program's is)
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/settings_block.h"

namespace drvsim {

struct Options {
    std::string program;   // empty: vela40ps.exe beside drvsim.exe
    std::string args;      // the program's command line after its path
    bool attach = false;   // connect to a program started separately
    bool noDriver = false; // no settings exchange: only the script drives the program
    std::string blockFile; // a 1300-byte block or a 1312-byte message
    std::optional<std::string> printer;
    std::optional<std::string> driver;
    bool device = false;
    std::vector<std::string> sets;               // NAME=VALUE edits of the block (as psblock set)
    std::optional<std::uint32_t> randomReserved; // seed for the reserved bytes
    bool ownerSelf = false;                      // a window of drvsim owns the sheet
    std::int32_t owner = 0;
    std::vector<std::size_t> pokes; // sizes, in order; empty: one whole message
    bool noPoke = false;
    std::string topic = "DDI";
    std::string item = "Data";
    int links = 1;
    bool disconnectWhenShown = false;
    std::string script;
    std::string answerFile;
    std::string sentFile;
    int timeoutMs = 0; // 0: wait for the answer as long as the program runs
};

// Parses the arguments after the program name; nothing (and `error` filled) when they are wrong.
std::optional<Options> ParseOptions(std::span<const std::string> args, std::string* error);

extern const char kUsage[];

// The message to poke: a 1312-byte message with the owner window set. `file` is a block (the
// header then becomes size 1312, type 1) or a whole message (its size and type are kept);
// nothing for any other length.
std::optional<std::vector<std::uint8_t>> MessageOfFile(std::span<const std::uint8_t> file,
                                                       std::int32_t owner);

// The message cut to `size` bytes, or extended with a recognisable pattern.
std::vector<std::uint8_t> SizedPoke(std::span<const std::uint8_t> message, std::size_t size);

// Fills every reserved byte of the block with bytes of a generator seeded with `seed`.
void FillReservedBytes(app::PrinterSettingsBlock& block, std::uint32_t seed);

} // namespace drvsim
