#include "tools/psblock/psblock.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <random>
#include <string_view>
#include <system_error>

#include "app/settings_block.h"
#include "app/settings_message.h"
#include "platform/codepage1250.h"

namespace psblock {
namespace {

using app::FieldType;
using app::PrinterSettingsBlock;
using app::SettingsField;

constexpr const char* kUsage =
    "usage: psblock show FILE\n"
    "       psblock diff A B\n"
    "       psblock new [--printer NAME] [--driver PATH] [--device] > FILE\n"
    "       psblock set FILE name=value...\n"
    "FILE is a 1300-byte settings block or a 1312-byte settings message.\n";

// A value the tool shows and edits: a named field, or one member of an overlay slot
// ("overlaySlots[2].fileName").
struct Item {
    std::string name;
    SettingsField field;
};

const std::vector<Item>& Items() {
    static const std::vector<Item> items = [] {
        std::vector<Item> list;
        for (const SettingsField& f : app::SettingsFields()) {
            if (!f.named()) {
                continue;
            }
            if (f.type != FieldType::Bytes) {
                list.push_back({f.name, f});
                continue;
            }
            // The overlay slots are the one record inside the table.
            struct Member {
                const char* name;
                std::size_t offset;
                std::size_t size;
                FieldType type;
            };
            const Member members[] = {
                {"enabled", app::OverlaySlot::kEnabledOffset, 2, FieldType::Int16},
                {"fileName", app::OverlaySlot::kFileNameOffset, app::OverlaySlot::kFileNameSize,
                 FieldType::Text},
                {"device", app::OverlaySlot::kDeviceOffset, 2, FieldType::Int16},
            };
            for (int slot = 0; slot < app::kOverlaySlotCount; ++slot) {
                for (const Member& m : members) {
                    const std::size_t at = f.offset + slot * app::OverlaySlot::kSize + m.offset;
                    list.push_back(
                        {std::string(f.name) + "[" + std::to_string(slot) + "]." + m.name,
                         {nullptr,
                          static_cast<std::uint16_t>(at),
                          static_cast<std::uint16_t>(m.size),
                          m.type,
                          {}}});
                }
            }
        }
        return list;
    }();
    return items;
}

const Item* FindItem(std::string_view name) {
    for (const Item& item : Items()) {
        if (item.name == name) {
            return &item;
        }
    }
    return nullptr;
}

// The three int32 fields in front of the block in a message.
struct HeaderField {
    const char* name;
    std::size_t offset;
};
constexpr HeaderField kHeaderFields[] = {
    {"size", app::kMessageSizeOffset},
    {"type", app::kMessageTypeOffset},
    {"ownerWindow", app::kMessageOwnerWindowOffset},
};

// A file as read: a bare block, or a whole message whose header is kept as found.
struct BlockFile {
    bool isMessage = false;
    std::array<std::uint8_t, app::kMessageBlockOffset> header{};
    PrinterSettingsBlock block;

    std::int32_t headerValue(const HeaderField& h) const {
        return app::detail::LoadInt32(&header[h.offset]);
    }
    std::vector<std::uint8_t> bytes() const {
        std::vector<std::uint8_t> all;
        if (isMessage) {
            all.assign(header.begin(), header.end());
        }
        all.insert(all.end(), block.data(), block.data() + block.size());
        return all;
    }
};

// Failures carry the one line that goes to the error stream.
struct Failure {
    std::string message;
};

std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

BlockFile LoadFile(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    if (!in) {
        throw Failure{path + ": cannot open"};
    }
    // One byte more than the largest valid file tells a longer file apart.
    std::vector<std::uint8_t> bytes(app::kSettingsMessageSize + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        throw Failure{path + ": cannot read"};
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));

    BlockFile file;
    if (bytes.size() == PrinterSettingsBlock::kSize) {
        file.block.assign(bytes);
    } else if (bytes.size() == app::kSettingsMessageSize) {
        file.isMessage = true;
        std::copy_n(bytes.begin(), file.header.size(), file.header.begin());
        file.block.assign(std::span(bytes).subspan(app::kMessageBlockOffset));
    } else {
        std::string message = path;
        message += bytes.size() > app::kSettingsMessageSize ? ": more than 1312" : ": ";
        if (bytes.size() <= app::kSettingsMessageSize) {
            message += std::to_string(bytes.size());
        }
        message += " bytes; a settings block has 1300, a settings message 1312";
        throw Failure{message};
    }
    return file;
}

// Writes beside the target and renames over it, so that the file is either the old one or the
// whole new one.
void WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    std::filesystem::path target = PathFromUtf8(path);
    const std::filesystem::path resolved = std::filesystem::canonical(target, ec);
    if (!ec) {
        target = resolved;
    }
    std::random_device random;
    std::filesystem::path temp = target;
    temp += ".psblock-" + std::to_string(random() % 1000000u);

    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(temp, ec);
            throw Failure{path + ": cannot write"};
        }
    }
    const auto perms = std::filesystem::status(target, ec).permissions();
    if (!ec) {
        std::filesystem::permissions(temp, perms, ec);
    }
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw Failure{path + ": cannot replace the file: " + ec.message()};
    }
}

// A code page 1250 text as a quoted UTF-8 string; quotes, backslashes and control characters are
// escaped so that every byte stays visible.
std::string QuoteText(std::string_view cp1250) {
    std::string quoted = "\"";
    for (const char c : cp1250) {
        const auto byte = static_cast<unsigned char>(c);
        const char16_t ch = platform::Cp1250ToUnicode(byte);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            quoted += escape;
        } else {
            quoted += platform::Cp1250ToUtf8(std::string_view(&c, 1));
        }
    }
    quoted += '"';
    return quoted;
}

std::string FormatFloat(float value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string FormatValue(const PrinterSettingsBlock& block, const SettingsField& field) {
    switch (field.type) {
    case FieldType::UInt8:
    case FieldType::Int16:
    case FieldType::Int32:
        return std::to_string(block.readInteger(field));
    case FieldType::Float:
        return FormatFloat(block.readFloat(field));
    case FieldType::Text: {
        std::string shown = QuoteText(block.readText(field));
        if (std::memchr(block.data() + field.offset, 0, field.size) == nullptr) {
            shown += " (no terminator)";
        }
        return shown;
    }
    default:
        return {};
    }
}

const char* TypeName(FieldType type) {
    switch (type) {
    case FieldType::UInt8:
        return "uint8";
    case FieldType::Int16:
        return "int16";
    case FieldType::Int32:
        return "int32";
    case FieldType::Float:
        return "float";
    default:
        return "text";
    }
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    std::int64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    if (result.ec == std::errc::result_out_of_range) {
        // A number, but beyond any field: reported as out of range by the caller.
        return text.front() == '-' ? INT64_MIN : INT64_MAX;
    }
    if (result.ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

// Stores `value` (UTF-8 for texts) into `field`, or throws the reason it cannot.
void AssignValue(PrinterSettingsBlock& block, const std::string& name, const SettingsField& field,
                 const std::string& value) {
    switch (field.type) {
    case FieldType::UInt8:
    case FieldType::Int16:
    case FieldType::Int32: {
        const std::optional<std::int64_t> number = ParseInteger(value);
        if (!number) {
            throw Failure{name + ": \"" + value + "\" is not a whole number"};
        }
        if (!block.writeInteger(field, *number)) {
            throw Failure{name + ": " + value + " is out of range for " + TypeName(field.type)};
        }
        return;
    }
    case FieldType::Float: {
        float number = 0;
        const auto result = std::from_chars(value.data(), value.data() + value.size(), number);
        if (value.empty() || result.ptr != value.data() + value.size() ||
            (result.ec != std::errc() && result.ec != std::errc::result_out_of_range)) {
            throw Failure{name + ": \"" + value + "\" is not a number"};
        }
        if (result.ec == std::errc::result_out_of_range) {
            throw Failure{name + ": " + value + " is out of range for float"};
        }
        if (!std::isfinite(number)) {
            throw Failure{name + ": " + value + " is not a finite number"};
        }
        block.writeFloat(field, number);
        return;
    }
    case FieldType::Text: {
        const std::string cp1250 = platform::Utf8ToCp1250(value);
        if (platform::Cp1250ToUtf8(cp1250) != value) {
            throw Failure{name + ": the text has characters outside code page 1250"};
        }
        if (cp1250.size() >= field.size) {
            throw Failure{name + ": the text is too long (" + std::to_string(cp1250.size()) +
                          " bytes, at most " + std::to_string(field.size - 1) + ")"};
        }
        block.writeText(field, cp1250);
        return;
    }
    default:
        throw Failure{name + ": cannot be set"};
    }
}

void PrintRow(std::ostream& out, std::size_t offset, const std::string& name,
              const std::string& value) {
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%4zu  %-30s ", offset, name.c_str());
    out << prefix << value << '\n';
}

int Show(const std::vector<std::string>& args, std::ostream& out) {
    if (args.size() != 2) {
        throw Failure{"show takes one file"};
    }
    const BlockFile file = LoadFile(args[1]);
    if (file.isMessage) {
        for (const HeaderField& h : kHeaderFields) {
            PrintRow(out, h.offset, std::string("message.") + h.name,
                     std::to_string(file.headerValue(h)));
        }
        out << "block at offset " << app::kMessageBlockOffset << ":\n";
    }
    for (const Item& item : Items()) {
        PrintRow(out, item.field.offset, item.name, FormatValue(file.block, item.field));
    }
    return kExitOk;
}

int Diff(const std::vector<std::string>& args, std::ostream& out) {
    if (args.size() != 3) {
        throw Failure{"diff takes two files"};
    }
    const BlockFile a = LoadFile(args[1]);
    const BlockFile b = LoadFile(args[2]);
    bool different = false;
    if (a.isMessage && b.isMessage) {
        for (const HeaderField& h : kHeaderFields) {
            if (a.headerValue(h) != b.headerValue(h)) {
                out << "message." << h.name << ": " << a.headerValue(h) << " -> "
                    << b.headerValue(h) << '\n';
                different = true;
            }
        }
    }
    for (const Item& item : Items()) {
        const SettingsField& f = item.field;
        if (std::memcmp(a.block.data() + f.offset, b.block.data() + f.offset, f.size) == 0) {
            continue;
        }
        different = true;
        const std::string va = FormatValue(a.block, f);
        const std::string vb = FormatValue(b.block, f);
        if (va == vb) {
            // Texts that read alike but differ after their terminator.
            out << item.name << ": " << va << ", bytes after the terminator differ\n";
        } else {
            out << item.name << ": " << va << " -> " << vb << '\n';
        }
    }
    std::size_t reserved = 0;
    for (const SettingsField& f : app::SettingsFields()) {
        if (f.named()) {
            continue;
        }
        for (std::size_t i = f.offset; i < std::size_t{f.offset} + f.size; ++i) {
            reserved += a.block.data()[i] != b.block.data()[i];
        }
    }
    different = different || reserved > 0;
    out << "reserved bytes differing: " << reserved << '\n';
    return different ? kExitDifferent : kExitOk;
}

int New(const std::vector<std::string>& args, std::ostream& out) {
    PrinterSettingsBlock block;
    app::ApplyNewBlockDefaults(block);
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string option = args[i];
        std::optional<std::string> value;
        if (const std::size_t eq = option.find('=');
            option.rfind("--", 0) == 0 && eq != option.npos) {
            value = option.substr(eq + 1);
            option.resize(eq);
        }
        if (option == "--device" && !value) {
            block.setDevicePropertiesMode(1);
            continue;
        }
        const char* field = option == "--printer"  ? "printerName"
                            : option == "--driver" ? "driverFilePath"
                                                   : nullptr;
        if (field == nullptr) {
            throw Failure{"new: unknown option " + option};
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                throw Failure{"new: " + option + " needs a value"};
            }
            value = args[++i];
        }
        AssignValue(block, field, *app::FindSettingsField(field), *value);
    }
    out.write(reinterpret_cast<const char*>(block.data()),
              static_cast<std::streamsize>(block.size()));
    out.flush();
    if (!out) {
        throw Failure{"new: cannot write the block"};
    }
    return kExitOk;
}

int Set(const std::vector<std::string>& args) {
    if (args.size() < 3) {
        throw Failure{"set takes a file and at least one name=value"};
    }
    BlockFile file = LoadFile(args[1]);
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& assignment = args[i];
        const std::size_t eq = assignment.find('=');
        if (eq == std::string::npos || eq == 0) {
            throw Failure{"\"" + assignment + "\": expected name=value"};
        }
        const std::string name = assignment.substr(0, eq);
        const std::string value = assignment.substr(eq + 1);
        if (const Item* item = FindItem(name)) {
            AssignValue(file.block, name, item->field, value);
            continue;
        }
        const HeaderField* header = nullptr;
        for (const HeaderField& h : kHeaderFields) {
            if (name == std::string("message.") + h.name) {
                header = &h;
            }
        }
        if (header == nullptr) {
            throw Failure{name + ": no such field"};
        }
        if (!file.isMessage) {
            throw Failure{name + ": " + args[1] + " is a block, not a settings message"};
        }
        const std::optional<std::int64_t> number = ParseInteger(value);
        if (!number) {
            throw Failure{name + ": \"" + value + "\" is not a whole number"};
        }
        if (*number < INT32_MIN || *number > INT32_MAX) {
            throw Failure{name + ": " + value + " is out of range for int32"};
        }
        app::detail::StoreInt32(&file.header[header->offset], static_cast<std::int32_t>(*number));
    }
    WriteFileAtomically(args[1], file.bytes());
    return kExitOk;
}

} // namespace

int RunPsblock(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsage;
        return kExitError;
    }
    const std::string& command = args[0];
    try {
        if (command == "show") {
            return Show(args, out);
        }
        if (command == "diff") {
            return Diff(args, out);
        }
        if (command == "new") {
            return New(args, out);
        }
        if (command == "set") {
            return Set(args);
        }
        if (command == "help" || command == "--help" || command == "-h") {
            out << kUsage;
            return kExitOk;
        }
        err << "psblock: unknown command \"" << command << "\" (try psblock help)\n";
        return kExitError;
    } catch (const Failure& failure) {
        err << "psblock: " << failure.message << '\n';
        return kExitError;
    } catch (const std::exception& e) {
        err << "psblock: " << e.what() << '\n';
        return kExitError;
    }
}

} // namespace psblock
