#pragma once
// The texts the program itself puts into its controls, beside those of its templates, and the
// controls it shows: what the pages and dialogs set into a control, add to a list or show while
// the whole program runs headless
// with a printer's data (its PPD, registry and SNMP answers) and every page and dialog is
// walked (sheetrun's walk, in device properties, once with the printer's defaults and once
// with every installable option installed); what the Consumables page shows from the
// printer's answers, for a colour and a monochrome printer and for a silent one; and every
// status line of the Settings page. Code page 1250 texts by dialog template and control id.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {
class FontEnumerator;
class Registry;
} // namespace platform

namespace layoutcheck {

// (dialog template id, control id).
using ControlKey = std::pair<int, int>;

// What the program does with one of its controls while it runs.
struct ControlUse {
    // Each text it puts there, with the widest the control was while it showed the text, in
    // dialog units; 0 when the program never sized the control, which then has its template's
    // width.
    std::map<std::string, int> texts;
    // The program shows the control (which matters for controls their template hides).
    bool shown = false;
};
using RuntimeTexts = std::map<ControlKey, ControlUse>;

// One object of the printer's SNMP agent.
struct AgentObject {
    std::string oid; // dotted, with a leading "."
    bool text = false;
    std::int32_t number = 0;
    std::string bytes; // the octets of a text
};

// The objects of an agent script in the form of samples/demo-printer-agent: one shell `case`
// line per object, `.OID) [t=string ]v=VALUE ;;`, the value a number, a word, a quoted text or
// `$(printf '...')` with octal escapes. Lines of any other form are skipped; `problems` gets
// the object lines whose value cannot be read.
std::vector<AgentObject> ReadAgentScript(std::string_view script,
                                         std::vector<std::string>* problems);

struct PrinterData {
    std::string printerName;
    // The block's driver file path; the program reads the PPD beside it. At most 63 characters.
    std::string driverPath;
    platform::Registry* registry = nullptr;    // the printer's registry data
    platform::FontEnumerator* fonts = nullptr; // the system's fonts; null: a fixed list
    std::vector<AgentObject> agent;            // the printer's SNMP answers
};

struct Harvest {
    RuntimeTexts texts;
    // What went wrong on the way (a run that threw, a walk that failed, no answer): the texts
    // are then incomplete, and a check built on them must fail.
    std::vector<std::string> problems;
};

Harvest HarvestRuntimeTexts(const PrinterData& printer);

} // namespace layoutcheck
