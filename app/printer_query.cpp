#include "app/printer_query.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "net/port_address.h"
#include "ppd/ppd.h"

namespace app {
namespace {

using Block = PrinterSettingsBlock;

constexpr InstalledOptionFlag kFlags[] = {
    {"OptionalDisk", "diskInstalled", &Block::diskInstalled, &Block::setDiskInstalled},
    {"Optionalduplexer", "duplexerInstalled", &Block::duplexerInstalled,
     &Block::setDuplexerInstalled},
    {"OptionalBin", "bin1Installed", &Block::bin1Installed, &Block::setBin1Installed},
    {"OptionalBin2", "bin2Installed", &Block::bin2Installed, &Block::setBin2Installed},
    {"OptionalBin3", "bin3Installed", &Block::bin3Installed, &Block::setBin3Installed},
    {"OptionalBin4", "bin4Installed", &Block::bin4Installed, &Block::setBin4Installed},
    {"OptionalBin5", "bin5Installed", &Block::bin5Installed, &Block::setBin5Installed},
    {"Optionalfeeder", "feederInstalled", &Block::feederInstalled, &Block::setFeederInstalled},
    {"Optionalenvelope", "envelopeFeederInstalled", &Block::envelopeFeederInstalled,
     &Block::setEnvelopeFeederInstalled},
    {"Optionalstacker", "stackerInstalled", &Block::stackerInstalled, &Block::setStackerInstalled},
    {"Optionalfinisher", "finisherInstalled", &Block::finisherInstalled,
     &Block::setFinisherInstalled},
    {"OptionalMailbox", "mailboxInstalled", &Block::mailboxInstalled, &Block::setMailboxInstalled},
    {"Optionalmultires", "multiresInstalled", &Block::multiresInstalled,
     &Block::setMultiresInstalled},
};

// The features MarkInstalled knows, in the order it tries them.
constexpr const char* kMarkable[] = {
    "OptionalBin",      "OptionalBin2",     "OptionalBin3",     "OptionalBin4",
    "OptionalBin5",     "Optionalfeeder",   "Optionalenvelope", "Optionalstacker",
    "Optionalfinisher", "Optionalmultires", "OptionalMailbox",  "OptionalDisk",
};

// What a tray entry of the component table says about an installable feature.
struct TrayRule {
    const char* entryName; // lower case
    const char* feature;
    std::int32_t installedKind;
};
constexpr TrayRule kTrayRules[] = {
    {"optional", "OptionalBin", net::kComponentInputSource},
    {"optional1", "OptionalBin", net::kComponentInputSource},
    {"optional2", "OptionalBin2", net::kComponentInputSource},
    {"optional3", "OptionalBin3", net::kComponentInputSource},
    {"optional4", "OptionalBin4", net::kComponentInputSource},
    {"optional5", "OptionalBin5", net::kComponentInputSource},
    {"mailbin1", "OptionalMailbox", net::kComponentMailbox},
    {"envelope", "Optionalenvelope", net::kComponentInputSource},
};

// An entry's name, read within its array.
std::string EntryName(const net::ComponentEntry& entry) {
    const char* end = static_cast<const char*>(std::memchr(entry.name, '\0', sizeof entry.name));
    return std::string(entry.name, end != nullptr ? end : entry.name + sizeof entry.name);
}

std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

const TrayRule* FindTrayRule(const std::string& lowerName) {
    for (const TrayRule& rule : kTrayRules)
        if (lowerName == rule.entryName)
            return &rule;
    return nullptr;
}

bool Answered(const net::SnmpScalarRow& row) {
    return row.value != -1;
}

// Installable features in the model's order.
template <class Visit>
void ForEachInstallableFeature(const ppd::PpdDocument* model, Visit visit) {
    for (const ppd::PpdFeature* f = ppd::FirstInstallableFeature(model); f != nullptr;
         f = f->next.get())
        if (f->installable && f->name)
            visit(*f);
}

void EntryPass(Block& settings, const ppd::PpdDocument* model,
               const net::ComponentEntries& entries) {
    ForEachInstallableFeature(model, [&](const ppd::PpdFeature& feature) {
        const std::string_view keyword = feature.name.get();
        for (const net::ComponentEntry& entry : entries) {
            const TrayRule* rule = FindTrayRule(AsciiLower(EntryName(entry)));
            if (rule == nullptr || keyword != rule->feature)
                continue;
            if (entry.kind == rule->installedKind && entry.capacity != 0) {
                MarkInstalled(settings, keyword);
            } else if (entry.kind == net::kComponentNotInstalled) {
                if (const InstalledOptionFlag* flag = FindInstalledOptionFlag(rule->feature))
                    (settings.*flag->set)(0);
            }
        }
    });
}

void ScalarPass(Block& settings, const net::SnmpScalarRow* scalars) {
    settings.setBin1Installed(Answered(scalars[net::kScalarRowFirstOptionalTray]) ? 1 : 0);
    settings.setDiskInstalled(Answered(scalars[net::kScalarRowDisk]) ? 1 : 0);
    settings.setDuplexerInstalled(Answered(scalars[net::kScalarRowDuplexer]) ? 1 : 0);
    settings.setStackerInstalled(Answered(scalars[net::kScalarRowStacker]) ? 1 : 0);
    settings.setMultiresInstalled(scalars[net::kScalarRowMultiResolution].value > 1 ? 1 : 0);
}

// A feature whose absence would rule out a choice that the printer reports present counts as
// installed.
void ConstraintPass(Block& settings, const ppd::PpdDocument* model,
                    const net::SnmpScalarRow* scalars, const net::ComponentEntries& entries) {
    ppd::ConstraintCursor table;
    const std::uint32_t constraints = ppd::ConstraintTable(model, &table) ? table.count : 0;
    const std::int32_t count = scalars[net::kScalarRowComponentCount].value;
    ForEachInstallableFeature(model, [&](const ppd::PpdFeature& feature) {
        const std::string_view keyword = feature.name.get();
        int counter = 0;
        ppd::ConstraintIteration iteration;
        // Every step uses up a constraint, so the table's size bounds the loop.
        for (std::uint32_t step = 0; step <= constraints; ++step) {
            const char* partnerFeature = nullptr;
            const char* partnerText = nullptr;
            if (!ppd::NextConstraint(model, keyword, kNotInstalledText, &partnerFeature,
                                     &partnerText, counter, iteration))
                break;
            // An option without a display text matches no component (an empty entry name
            // means no component).
            if (partnerText == nullptr || *partnerText == '\0' || count < 0)
                continue;
            const std::size_t last =
                std::min<std::size_t>(static_cast<std::size_t>(count), entries.size() - 1);
            for (std::size_t i = 0; i <= last; ++i)
                if (EntryName(entries[i]) == partnerText && entries[i].level != -1)
                    MarkInstalled(settings, keyword);
        }
    });
}

} // namespace

std::span<const InstalledOptionFlag> InstalledOptionFlags() {
    return kFlags;
}

const InstalledOptionFlag* FindInstalledOptionFlag(std::string_view keyword) {
    for (const InstalledOptionFlag& flag : kFlags)
        if (keyword == flag.keyword)
            return &flag;
    return nullptr;
}

bool MarkInstalled(PrinterSettingsBlock& settings, std::string_view keyword) {
    for (const char* markable : kMarkable) {
        if (keyword != markable)
            continue;
        const InstalledOptionFlag* flag = FindInstalledOptionFlag(markable);
        (settings.*flag->set)(1);
        return true;
    }
    return false;
}

std::int32_t QueryPrinterAtStartup(PrinterSettingsBlock& settings, platform::Registry& registry,
                                   net::SnmpScalarRow* scalars, const net::SnmpScalarRow* columns,
                                   net::ComponentEntries* trayEntries,
                                   const net::SnmpOptions& options) {
    std::string address;
    std::string port = settings.portName();
    net::lookupPrinterAddress(registry, settings.printerName(), &address, &port);
    // The lookup gives at most 15 and 30 characters, which the fields hold.
    settings.setPrinterAddress(address);
    settings.setPortName(port);

    const std::string community = settings.snmpCommunity();
    std::int32_t status = kPrinterUnavailable;
    if (!community.empty() && !address.empty()) {
        const std::int32_t rc = net::snmpGetScalars(community, address, scalars, options);
        if (rc == net::kSnmpOk)
            status = kPrinterAnswered;
        // A printer that gave no answer at all would not answer the walk either: its entries
        // are cleared as the walk would leave them, without waiting out its sends.
        if (rc == net::kSnmpNoAnswer)
            trayEntries->fill(net::ComponentEntry{});
        else
            net::snmpWalkSupplies(community, address, columns, trayEntries, options);
    }
    if (status == kPrinterUnavailable)
        settings.setPrinterAddress("");
    return status;
}

void SyncInstalledOptions(PrinterSettingsBlock& settings, const ppd::PpdDocument* model,
                          std::int32_t printerStatus, const net::SnmpScalarRow* scalars,
                          const net::ComponentEntries& trayEntries) {
    if (printerStatus != kPrinterAnswered)
        return;
    if (model != nullptr)
        EntryPass(settings, model, trayEntries);
    ScalarPass(settings, scalars);
    if (model != nullptr)
        ConstraintPass(settings, model, scalars, trayEntries);
}

} // namespace app
