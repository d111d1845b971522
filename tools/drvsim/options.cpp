#include "tools/drvsim/options.h"

#include <charconv>
#include <cstring>
#include <random>
#include <string_view>

#include "app/settings_message.h"

namespace drvsim {
namespace {

template <class Integer>
bool ParseInteger(std::string_view text, Integer& value) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), last, value, base);
    return !text.empty() && ec == std::errc() && ptr == last;
}

} // namespace

const char kUsage[] =
    "usage: drvsim [--program PATH | --attach]\n"
    "              (--block FILE | --printer NAME --driver PATH [--device])\n"
    "              [--set NAME=VALUE]... [--random-reserved SEED] [--owner N|self]\n"
    "              [--poke SIZE]... | [--no-poke]  [--topic NAME] [--item NAME] [--links N]\n"
    "              [--disconnect-when-shown] [--script FILE] [--answer FILE] [--sent FILE]\n"
    "              [--timeout-ms N]\n"
    "       drvsim --no-driver --program PATH [--args TEXT] --script FILE\n";

std::optional<Options> ParseOptions(std::span<const std::string> args, std::string* error) {
    Options options;
    const auto fail = [&](std::string message) -> std::optional<Options> {
        if (error)
            *error = std::move(message);
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        std::string text;
        if (option == "--attach") {
            options.attach = true;
        } else if (option == "--device") {
            options.device = true;
        } else if (option == "--no-poke") {
            options.noPoke = true;
        } else if (option == "--disconnect-when-shown") {
            options.disconnectWhenShown = true;
        } else if (option == "--no-driver") {
            options.noDriver = true;
        } else if (!value(text)) {
            return fail(option.rfind("--", 0) == 0 ? option + " needs a value"
                                                   : "unexpected argument " + option);
        } else if (option == "--program") {
            options.program = text;
        } else if (option == "--args") {
            options.args = text;
        } else if (option == "--block") {
            options.blockFile = text;
        } else if (option == "--printer") {
            options.printer = text;
        } else if (option == "--driver") {
            options.driver = text;
        } else if (option == "--set") {
            options.sets.push_back(text);
        } else if (option == "--random-reserved") {
            std::uint32_t seed = 0;
            if (!ParseInteger(text, seed))
                return fail("--random-reserved needs a number");
            options.randomReserved = seed;
        } else if (option == "--owner") {
            if (text == "self")
                options.ownerSelf = true;
            else if (!ParseInteger(text, options.owner))
                return fail("--owner needs a window handle or self");
        } else if (option == "--poke") {
            std::size_t size = 0;
            if (!ParseInteger(text, size) || size > 65536)
                return fail("--poke needs a size of at most 65536 bytes");
            options.pokes.push_back(size);
        } else if (option == "--topic") {
            options.topic = text;
        } else if (option == "--item") {
            options.item = text;
        } else if (option == "--links") {
            if (!ParseInteger(text, options.links) || options.links < 1 || options.links > 8)
                return fail("--links needs a number from 1 to 8");
        } else if (option == "--script") {
            options.script = text;
        } else if (option == "--answer") {
            options.answerFile = text;
        } else if (option == "--sent") {
            options.sentFile = text;
        } else if (option == "--timeout-ms") {
            if (!ParseInteger(text, options.timeoutMs) || options.timeoutMs < 0)
                return fail("--timeout-ms needs a number of milliseconds");
        } else {
            return fail("unknown option " + option);
        }
    }
    if (options.noDriver) {
        if (options.program.empty() || options.script.empty())
            return fail("--no-driver needs --program and --script");
        if (options.attach || !options.blockFile.empty() || options.printer || options.driver ||
            options.device || !options.sets.empty() || !options.pokes.empty() || options.noPoke ||
            !options.answerFile.empty() || !options.sentFile.empty())
            return fail("--no-driver takes only --program, --args, --script and --timeout-ms");
        return options;
    }
    if (!options.args.empty())
        return fail("--args goes with --no-driver");
    if (options.blockFile.empty() && !(options.printer && options.driver))
        return fail("--block FILE, or --printer NAME and --driver PATH, is needed");
    if (!options.blockFile.empty() && (options.printer || options.driver || options.device))
        return fail("--block excludes --printer, --driver and --device");
    if (options.noPoke && !options.pokes.empty())
        return fail("--no-poke excludes --poke");
    if (options.attach && !options.program.empty())
        return fail("--attach excludes --program");
    return options;
}

std::optional<std::vector<std::uint8_t>> MessageOfFile(std::span<const std::uint8_t> file,
                                                       std::int32_t owner) {
    std::vector<std::uint8_t> message(app::kSettingsMessageSize);
    if (file.size() == app::kSettingsMessageSize) {
        std::memcpy(message.data(), file.data(), file.size());
    } else if (file.size() == app::PrinterSettingsBlock::kSize) {
        const std::int32_t header[2] = {static_cast<std::int32_t>(app::kSettingsMessageSize),
                                        app::kMessageTypeSettings};
        std::memcpy(message.data(), header, sizeof header);
        std::memcpy(message.data() + app::kMessageBlockOffset, file.data(), file.size());
    } else {
        return std::nullopt;
    }
    std::memcpy(message.data() + app::kMessageOwnerWindowOffset, &owner, sizeof owner);
    return message;
}

std::vector<std::uint8_t> SizedPoke(std::span<const std::uint8_t> message, std::size_t size) {
    std::vector<std::uint8_t> poke(size);
    for (std::size_t i = 0; i < size; ++i)
        poke[i] = i < message.size() ? message[i] : static_cast<std::uint8_t>(i * 7 + 3);
    return poke;
}

void FillReservedBytes(app::PrinterSettingsBlock& block, std::uint32_t seed) {
    std::mt19937 random(seed);
    for (const app::SettingsField& field : app::SettingsFields()) {
        if (field.named())
            continue;
        for (std::size_t i = 0; i < field.size; ++i)
            block.data()[field.offset + i] = static_cast<std::uint8_t>(random() & 0xFF);
    }
}

} // namespace drvsim
