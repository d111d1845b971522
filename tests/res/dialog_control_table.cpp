// The controls of every dialog template as the dialogs' descriptions give them, written down
// without looking at the resource scripts, so that the scripts are checked against a second,
// independent reading. Ids are the numbers the program's interfaces fix (help topics, the
// driver's automation), not the names of resource.h, so a wrong number there fails as well.
#include "tests/res/dialog_control_table.h"

#include "res/resource.h"

namespace restest {
namespace {

using E = ExpectedControl;
constexpr int kNone = IDC_STATIC;

std::vector<E> Layout() {
    return {
        {1012, Expect::GroupBox, u"Orient\u00E1cia"},
        {1000, Expect::Radio, u"Na v\u00FD\u0161ku", kGroupStart, u"Orient\u00E1cia"},
        {1001, Expect::Radio, u"Na \u0161\u00EDrku", 0, u"Orient\u00E1cia"},
        {1002, Expect::Radio, u"Na \u0161\u00EDrku (oto\u010Den\u00FD)", 0, u"Orient\u00E1cia"},
        {kNone, Expect::GroupBox, u"Vo\u013Eby duplexu"},
        {1003, Expect::Radio, u"Jednostrann\u00E1 tla\u010D", kGroupStart, u"Vo\u013Eby duplexu"},
        {1004, Expect::Radio, u"Dlh\u0161\u00ED okraj", 0, u"Vo\u013Eby duplexu"},
        {1005, Expect::Radio, u"Krat\u0161\u00ED okraj", 0, u"Vo\u013Eby duplexu"},
        {kNone, Expect::GroupBox, u"Str\u00E1n na list"},
        {1006, Expect::DropList, nullptr, 0, u"Str\u00E1n na list"},
        {1007, Expect::Check, u"Tla\u010D okrajov str\u00E1n", 0, u"Str\u00E1n na list"},
        {1010, Expect::GroupBox, u"N\u00E1h\u013Ead"},
        {1011, Expect::Picture, nullptr, 0, u"N\u00E1h\u013Ead"},
    };
}

std::vector<E> Paper() {
    return {
        {kNone, Expect::Text, u"Form\u00E1t papiera"},
        {1020, Expect::DropList, nullptr, kSorted},
        {kNone, Expect::Text, u"Zdroj"},
        {1021, Expect::DropList, nullptr, kSorted},
        {kNone, Expect::Text, u"Tla\u010Dov\u00E9 m\u00E9dium"},
        {1022, Expect::DropList, nullptr, kSorted},
        {1025, Expect::Text, u"V\u00FDstupn\u00E1 priehradka", kRuntimeState},
        {1023, Expect::DropList, nullptr, kSorted | kRuntimeState},
        {1024, Expect::Push, u"Roz\u0161\u00EDren\u00E9 mo\u017Enosti pod\u00E1vania papiera"},
        {1026, Expect::Push, u"Konfigurova\u0165", kRuntimeState},
    };
}

std::vector<E> Features() {
    return {
        {kNone, Expect::GroupBox, u"Rozl\u00ED\u0161enie (DPI)"},
        {1040, Expect::DropList, nullptr, kSorted, u"Rozl\u00ED\u0161enie (DPI)"},
        {1041, Expect::Push, u"Vo\u013Eby grafiky"},
        {1048, Expect::GroupBox, u"R\u00FDchle nastavenie farieb", kRuntimeState},
        {1042, Expect::DropList, nullptr, kSorted | kRuntimeState,
         u"R\u00FDchle nastavenie farieb"},
        {1043, Expect::Push, u"Vo\u013Eby pre farby", kRuntimeState},
        {1046, Expect::Push, u"Vo\u013Eby PostScriptu"},
        {1047, Expect::Push, u"Vo\u013Eby dokumentu"},
    };
}

std::vector<E> Overlay() {
    constexpr auto kSlot = kRuntimeState; // usable only with the printer's disk installed
    const char16_t* frame = u"Pretla\u010D";
    return {
        {kNone, Expect::GroupBox, frame},
        {1060, Expect::Check, u"V\u0161etky str\u00E1nky", kSlot, frame},
        {1061, Expect::Edit, nullptr, kSlot, frame},
        {1062, Expect::Combo, nullptr, kSorted | kSlot, frame},
        {1063, Expect::Check, u"Prv\u00E1 str\u00E1nka", kSlot, frame},
        {1064, Expect::Edit, nullptr, kSlot, frame},
        {1065, Expect::Combo, nullptr, kSorted | kSlot, frame},
        {1066, Expect::Check, u"P\u00E1rne strany", kSlot, frame},
        {1067, Expect::Edit, nullptr, kSlot, frame},
        {1068, Expect::Combo, nullptr, kSorted | kSlot, frame},
        {1069, Expect::Check, u"Nep\u00E1rne str\u00E1nky", kSlot, frame},
        {1070, Expect::Edit, nullptr, kSlot, frame},
        {1071, Expect::Combo, nullptr, kSorted | kSlot, frame},
        {1072, Expect::Check, u"S\u00FAhrnn\u00FD", kSlot, frame},
        {1073, Expect::Edit, nullptr, kSlot, frame},
        {1074, Expect::Combo, nullptr, kSorted | kSlot, frame},
        {kNone, Expect::Text, u"Disk", kSlot, frame},
        {kNone, Expect::Text, u"Disk", kSlot, frame},
        {kNone, Expect::Text, u"Disk", kSlot, frame},
        {kNone, Expect::Text, u"Disk", kSlot, frame},
        {kNone, Expect::Text, u"Disk", kSlot, frame},
        {kNone, Expect::Text, u"Prv\u00E1", kSlot, frame},
        {1075, Expect::Edit, nullptr, kDigits | kSlot, frame},
        {1076, Expect::Spin, nullptr, kBuddyNumber | kSlot, frame, 1075},
        {kNone, Expect::Text, u"Cyklus", kSlot, frame},
        {1077, Expect::Edit, nullptr, kDigits | kSlot, frame},
        {1078, Expect::Spin, nullptr, kBuddyNumber | kSlot, frame, 1077},
        {kNone, Expect::GroupBox, u"Vodoznak"},
        {1079, Expect::Combo, nullptr, kSorted, u"Vodoznak"},
        {1080, Expect::Check, u"Iba prv\u00E1 str\u00E1nka", 0, u"Vodoznak"},
        {1081, Expect::Push, u"Upravi\u0165", kRuntimeState, u"Vodoznak"},
        {1082, Expect::Push, u"Prida\u0165", 0, u"Vodoznak"},
        {1083, Expect::Push, u"Vymaza\u0165", kRuntimeState, u"Vodoznak"},
        {1084, Expect::Push, u"Spr\u00E1vca na\u010D\u00EDtania"},
    };
}

std::vector<E> Fonts() {
    return {
        {1121, Expect::Radio, u"Na\u010D\u00EDtat p\u00EDsma ako TrueType"},
        {1122, Expect::Radio, u"Pou\u017Ei\u0165 tabu\u013Eku n\u00E1hrad"},
        {kNone, Expect::Text, u"Pre syst\u00E9mov\u00E9 p\u00EDsmo:"},
        {1123, Expect::List, nullptr, kSorted | kNotify | kRuntimeState},
        {kNone, Expect::Text, u"Pou\u017Ei\u0165 p\u00EDsmo zariadenia:"},
        {1124, Expect::List, nullptr, kUnsorted | kNotify | kRuntimeState},
        {1125, Expect::Push,
         u"Pou\u017E\u00ED\u0165 v\u00FDchodiskov\u00FA tabu\u013Eku n\u00E1hrad", kRuntimeState},
        {kNone, Expect::Text, u"Send True Type Fonts to Printer as:", kHidden},
        {1120, Expect::Combo, nullptr, kHidden},
        {1126, Expect::Push, u"Spr\u00E1vca na\u010D\u00EDtania Orvane", kHidden | kDisabled},
    };
}

std::vector<E> Settings() {
    const char16_t* link = u"Komunik\u00E1cia s  tla\u010Diar\u0148ou";
    const char16_t* accounting = u"D\u00E1ta pre \u00FA\u010Dtovanie";
    return {
        {kNone, Expect::Text, u"Dostupn\u00E9 vo\u013Eby"},
        {1140, Expect::List, nullptr, kSorted | kNotify | kRuntimeState},
        {1141, Expect::Push, u"Prida\u0165", kRuntimeState},
        {1142, Expect::Push, u"Odstr\u00E1ni\u0165", kRuntimeState},
        {kNone, Expect::Text, u"In\u0161talovan\u00E9 doplnky"},
        {1143, Expect::List, nullptr, kSorted | kNotify | kRuntimeState},
        {kNone, Expect::GroupBox, link},
        {kNone, Expect::Text, u"IP n\u00E1zov/adresa", 0, link},
        {1146, Expect::Edit, nullptr, kRuntimeState, link},
        {1147, Expect::Text, nullptr},
        {kNone, Expect::GroupBox, accounting},
        {kNone, Expect::Text, u"Autor", 0, accounting},
        {1148, Expect::Edit, nullptr, kRuntimeState, accounting},
        {kNone, Expect::Text, u"Hostite\u013Esk\u00FD po\u010D\u00EDta\u010D", 0, accounting},
        {1149, Expect::Edit, nullptr, 0, accounting},
        {kNone, Expect::Text, u"\u010C\u00EDslo s\u00E9rie", 0, accounting},
        {1150, Expect::Edit, nullptr, 0, accounting},
        {1144, Expect::Push, u"R\u00FDchlo nastavi\u0165", kHidden | kDisabled},
        {kNone, Expect::Text, u"Skupina SNMP", kHidden},
        {1145, Expect::Edit, nullptr, kHidden},
    };
}

std::vector<E> Consumables() {
    // Every row is filled or hidden before the page is seen: its template state is free.
    std::vector<E> controls = {
        {1160, Expect::Text, u"Static", kImageCentred | kRuntimeState},
        {1161, Expect::Text, u"Static", kRuntimeState},
    };
    for (int k = 0; k < 20; ++k) {
        const char16_t* name = k == 10 ? u"240K PM Services" : u"NAME LABEL";
        const char16_t* value = k == 10 ? u"999999" : u"0";
        const char16_t* maximum = k == 10 ? u"240000 sheets" : u"Max Units";
        const std::uint32_t smooth = k < 10 ? std::uint32_t{kSmooth} : 0u;
        controls.push_back({1162 + k, Expect::Text, name, kRuntimeState});
        controls.push_back({1182 + k, Expect::Text, value, kRight | kRuntimeState});
        controls.push_back({1202 + k, Expect::Progress, nullptr, smooth | kRuntimeState});
        controls.push_back({1222 + k, Expect::Text, maximum, kRuntimeState});
    }
    controls.insert(controls.end(), {
                                        {kNone, Expect::Text, u"Zvy\u0161n\u00E9 mno\u017Estvo"},
                                        {kNone, Expect::Text, u"Max.\u017Eivotnos\u0165"},
                                        {1242, Expect::Push, u"Obnovi\u0165"},
                                        {1243, Expect::Push, nullptr},
                                        {1244, Expect::Push, u"Beacon View", kHidden | kDisabled},
                                    });
    return controls;
}

std::vector<E> GraphicsOptions() {
    return {
        {kNone, Expect::GroupBox, u"V\u00FDchodiskov\u00E9 polt\u00F3ny \u00FAlohy"},
        {1260, Expect::DropList, nullptr, kSorted,
         u"V\u00FDchodiskov\u00E9 polt\u00F3ny \u00FAlohy"},
        {1261, Expect::Push, u"Polt\u00F3ny elementov strany", 0,
         u"V\u00FDchodiskov\u00E9 polt\u00F3ny \u00FAlohy"},
        {kNone, Expect::GroupBox, u"Zv\u00FDraznenie"},
        {kNone, Expect::Text, u"Kvalita tla\u010De", 0, u"Zv\u00FDraznenie"},
        {1262, Expect::DropList, nullptr, kSorted | kRuntimeState, u"Zv\u00FDraznenie"},
        {1264, Expect::Check, u"Pou\u017Ei\u0165 re\u017Eim uspory tonera", kRuntimeState,
         u"Zv\u00FDraznenie"},
        {kNone, Expect::GroupBox, u"Efekty"},
        {1265, Expect::Check, u"Inverzn\u00FD obraz", kRuntimeState, u"Efekty"},
        {1266, Expect::Check, u"Zrkadlov\u00FD obraz", 0, u"Efekty"},
        {kNone, Expect::GroupBox, u"Oto\u010Denie"},
        {1267, Expect::Radio, u"0\u00B0", kGroupStart, u"Oto\u010Denie"},
        {1268, Expect::Radio, u"90\u00B0", 0, u"Oto\u010Denie"},
        {1269, Expect::Radio, u"180\u00B0", 0, u"Oto\u010Denie"},
        {1270, Expect::Radio, u"270\u00B0", 0, u"Oto\u010Denie"},
        {kNone, Expect::GroupBox, u"Imageable Area Margins", kHidden},
        {1271, Expect::Radio, u"V\u00FDchodiskov\u00E9", kHidden},
        {1272, Expect::Radio, u"\u017Diadny", kHidden},
        {1, Expect::Push, u"OK"},
        {2, Expect::Push, u"Zru\u0161i\u0165"},
        {1273, Expect::Push, u"Pomocn\u00EDk"},
    };
}

std::vector<E> ColorOptions() {
    const char16_t* summary = u"Aktu\u00E1lne nastavenie farieb";
    std::vector<E> controls = {{kNone, Expect::GroupBox, summary}};
    for (int line = 1280; line <= 1289; ++line)
        controls.push_back({line, Expect::Text, nullptr, 0, summary});
    controls.insert(
        controls.end(),
        {
            {kNone, Expect::GroupBox, u"R\u00FDchle nastavenie farieb"},
            {1290, Expect::DropDown, nullptr, kSorted, u"R\u00FDchle nastavenie farieb"},
            {1291, Expect::Push, u"Ulo\u017Ei\u0165"},
            {1292, Expect::Push, u"Vymaza\u0165", kRuntimeState},
            {1293, Expect::Push, u"V\u00FDchodiskov\u00E9"},
            {1294, Expect::Check, u"Separ\u00E1cia farieb"},
            {1295, Expect::Check, u"Pou\u017Ei\u0165 vn\u00FAtorn\u00FD s\u00FAlad farieb ICC"},
            {1296, Expect::Push, u"Konfigurova\u0165", kRuntimeState},
            {1297, Expect::Check, u"Pou\u017Ei\u0165 s\u00FAlad farieb CRD"},
            {1298, Expect::Push, u"Konfigurova\u0165", kRuntimeState},
            {1, Expect::Push, u"OK"},
            {2, Expect::Push, u"Zru\u0161i\u0165"},
            {1299, Expect::Push, u"Pomocn\u00EDk"},
            {1527, Expect::DropList, nullptr, kHidden},
            {1528, Expect::DropList, nullptr, kHidden},
            {1529, Expect::DropList, nullptr, kHidden},
        });
    return controls;
}

std::vector<E> PostScriptOptions() {
    const char16_t* options = u"Vo\u013Eby PostScriptu";
    const char16_t* header = u"Vlastn\u00E1 extern\u00E1 hlavi\u010Dka PostScriptu";
    const char16_t* end = u"Koniec Vo\u013Eby \u00DAlohy";
    return {
        {kNone, Expect::GroupBox, options},
        {1320, Expect::Check,
         u"Pou\u017Ei\u0165 \u0161trukturovaciu konvenciu dokumentu pod\u013Ea Adobe", kDisabled,
         options},
        {1321, Expect::Check, u"Povoli\u0165 aplik\u00E1cii emulova\u0165 PostScript", kDisabled,
         options},
        {1322, Expect::Check, u"Tla\u010Di\u0165 inform\u00E1cie o PostScriptovej chybe", 0,
         options},
        {kNone, Expect::GroupBox, header},
        {1324, Expect::Check, u"Pou\u017Ei\u0165 s\u00FAbor s extern\u00FDm z\u00E1hlav\u00EDm", 0,
         header},
        {1325, Expect::Edit, nullptr, kRuntimeState, header},
        {1326, Expect::Push, u"Preh\u013Ead\u00E1va\u0165", kRuntimeState, header},
        {kNone, Expect::GroupBox, end},
        {kNone, Expect::Text, u"Re\u017Eim EOD", 0, end},
        {1327, Expect::DropList, nullptr, 0, end},
        {kNone, Expect::Text, u"Poz\u00EDcia EOD", 0, end},
        {1328, Expect::DropList, nullptr, 0, end},
        {kNone, Expect::Text, u"\u010Cakanie na \u00FAlohu"},
        {1329, Expect::Edit, nullptr, kDigits},
        {kNone, Expect::Text, u"sek\u00FAnd"},
        {1, Expect::Push, u"OK"},
        {2, Expect::Push, u"Zru\u0161i\u0165"},
        {1330, Expect::Push, u"Pomocn\u00EDk"},
    };
}

std::vector<E> DocumentOptions() {
    const char16_t* collation = u"Kompletovanie";
    const char16_t* copies = u"Po\u010Det k\u00F3pi\u00ED / Mierka";
    return {
        {kNone, Expect::GroupBox, collation},
        {1340, Expect::Radio, u"Kompletova\u0165", 0, collation},
        {1341, Expect::Radio, u"Nekompletova\u0165", 0, collation},
        {kNone, Expect::GroupBox, copies},
        {kNone, Expect::Text, u"Po\u010Det k\u00F3pi\u00ED", 0, copies},
        {1342, Expect::Edit, nullptr, kDigits, copies},
        {1343, Expect::Spin, nullptr, 0, copies, 1342},
        {kNone, Expect::Text, u"Mierka:", 0, copies},
        {1344, Expect::Edit, nullptr, kDigits, copies},
        {kNone, Expect::Text, u"%", 0, copies},
        {1345, Expect::Check, u"N\u00E1tla\u010D", kGroupStart | kRuntimeState},
        {kNone, Expect::Text, u"N\u00E1zov s\u00FAboru", kRuntimeState},
        {1346, Expect::Edit, nullptr, kRuntimeState},
        {kNone, Expect::Text, u"Save On Disk Till:", kHidden},
        {1347, Expect::DatePicker, nullptr, kHidden},
        {1348, Expect::DatePicker, nullptr, kHidden},
        {1349, Expect::Check, u"Ozn\u00E1menie e-mailom", kGroupStart},
        {kNone, Expect::Text, u"E-mailov\u00E1 adresa", kRuntimeState},
        {1350, Expect::Edit, nullptr, kRuntimeState},
        {1, Expect::Push, u"OK"},
        {2, Expect::Push, u"Zru\u0161i\u0165"},
        {1351, Expect::Push, u"Pomocn\u00EDk"},
    };
}

std::vector<E> WatermarkEditor() {
    return {
        {kNone, Expect::GroupBox, u"Text vodoznaku"},
        {kNone, Expect::GroupBox, u"Vlastnosti textu"},
        {kNone, Expect::GroupBox, u"Poz\u00EDcia"},
        {kNone, Expect::GroupBox, u"N\u00E1h\u013Ead", kHidden},
        {kNone, Expect::Text, u"N\u00E1zov"},
        {1360, Expect::Edit, nullptr},
        {kNone, Expect::Text, u"Text"},
        {1361, Expect::Edit, nullptr},
        {kNone, Expect::Text, u"P\u00EDsmo"},
        {1362, Expect::DropList, nullptr, kSorted},
        {kNone, Expect::Text, u"\u0160t\u00FDl"},
        {1363, Expect::DropList, nullptr},
        {kNone, Expect::Text, u"Ve\u013Ekos\u0165"},
        {1364, Expect::Edit, nullptr, kDigits},
        {1365, Expect::Spin, nullptr, 0, nullptr, 1364},
        {kNone, Expect::Text, u"Uhol"},
        {1366, Expect::Edit, nullptr, kDigits},
        {1367, Expect::Spin, nullptr, 0, nullptr, 1366},
        {1383, Expect::Text, u"Farba", kRuntimeState},
        {1368, Expect::DropList, nullptr, kRuntimeState},
        {1382, Expect::Text, u"Intenzita", kRuntimeState},
        {1369, Expect::Edit, nullptr, kDigits | kRuntimeState},
        {1370, Expect::Spin, nullptr, kRuntimeState, nullptr, 1369},
        {1371, Expect::Check, u"Na pozad\u00ED"},
        {1372, Expect::Check, u"Iba ako obrysy", kDisabled},
        {1373, Expect::Radio, u"Stred"},
        {1374, Expect::Radio, u"Poz\u00EDcia vzh\u013Eadom k stredu"},
        // The offsets go below zero: the edits must take a minus sign.
        {1384, Expect::Text, u"x", kRuntimeState},
        {1375, Expect::Edit, nullptr, kNotDigitsOnly | kRuntimeState},
        {1376, Expect::Spin, nullptr, kRuntimeState, nullptr, 1375},
        {1385, Expect::Text, u"y", kRuntimeState},
        {1377, Expect::Edit, nullptr, kNotDigitsOnly | kRuntimeState},
        {1378, Expect::Spin, nullptr, kRuntimeState, nullptr, 1377},
        {1, Expect::Push, u"Ulo\u017Ei\u0165"},
        {2, Expect::Push, u"Zru\u0161i\u0165"},
        {1379, Expect::Push, u"Pomocn\u00EDk"},
        {1380, Expect::Push, u"V\u00FDchodiskov\u00E9"},
    };
}

std::vector<E> CrdMatching() {
    return {
        {kNone, Expect::GroupBox, u"V\u00FDchodiskov\u00E9 nastavenie \u00FAlohy"},
        {1400, Expect::DropList, nullptr, kSorted, u"V\u00FDchodiskov\u00E9 nastavenie \u00FAlohy"},
        {kNone, Expect::GroupBox, u"Obrazy"},
        {1401, Expect::DropList, nullptr, kSorted, u"Obrazy"},
        {kNone, Expect::GroupBox, u"Text"},
        {1402, Expect::DropList, nullptr, kSorted, u"Text"},
        {kNone, Expect::GroupBox, u"Grafika"},
        {1403, Expect::DropList, nullptr, kSorted, u"Grafika"},
        {kNone, Expect::GroupBox, u"Farebn\u00FD priestor CRD"},
        {1404, Expect::DropList, nullptr, kSorted, u"Farebn\u00FD priestor CRD"},
        {1, Expect::Push, u"OK"},
        {2, Expect::Push, u"Zru\u0161i\u0165"},
        {1406, Expect::Push, u"Pomocn\u00EDk"},
    };
}

std::vector<E> IccMatching() {
    return {
        {kNone, Expect::GroupBox, u"Zdroj RGB"},
        {1420, Expect::DropList, nullptr, kSorted, u"Zdroj RGB"},
        {1421, Expect::Push, u"Spr\u00E1va profilov", 0, u"Zdroj RGB"},
        {kNone, Expect::GroupBox, u"Napodobnenie"},
        {1422, Expect::DropList, nullptr, kSorted, u"Napodobnenie"},
        {1423, Expect::Push, u"Spr\u00E1va profilov", 0, u"Napodobnenie"},
        {kNone, Expect::GroupBox, u"Cie\u013E"},
        {1424, Expect::DropList, nullptr, kSorted, u"Cie\u013E"},
        {1425, Expect::Push, u"Spr\u00E1va profilov", 0, u"Cie\u013E"},
        {1426, Expect::Push, u"Spr\u00E1vca na\u010D\u00EDtania"},
        {1, Expect::Push, u"OK"},
        {2, Expect::Push, u"Zru\u0161i\u0165"},
        {1427, Expect::Push, u"Pomocn\u00EDk"},
    };
}

std::vector<E> ProfileManagement() {
    const char16_t* frame = u"Definova\u0165 profil(y) tla\u010Diarne";
    return {
        {kNone, Expect::GroupBox, frame},
        {kNone, Expect::Text, u"Popis", 0, frame},
        {1440, Expect::DropDown, nullptr, kSorted, frame},
        {kNone, Expect::Text, u"N\u00E1zov zaveden\u00E9ho s\u00FAboru", 0, frame},
        {1441, Expect::Edit, nullptr, kAutoHScroll, frame},
        {1442, Expect::Push, u"Prida\u0165"},
        {1443, Expect::Push, u"Vymaza\u0165", kRuntimeState},
        {1, Expect::Push, u"Hotov\u00E9"},
        {1444, Expect::Push, u"Pomocn\u00EDk"},
    };
}

std::vector<E> Halftone() {
    return {
        {kNone, Expect::GroupBox, u"Obrazy"},
        {1480, Expect::Combo, nullptr, 0, u"Obrazy"},
        {kNone, Expect::GroupBox, u"Text"},
        {1481, Expect::Combo, nullptr, 0, u"Text"},
        {kNone, Expect::GroupBox, u"Grafika"},
        {1482, Expect::Combo, nullptr, 0, u"Grafika"},
        {1, Expect::Push, u"OK"},
        {2, Expect::Push, u"Zru\u0161i\u0165"},
        {1483, Expect::Push, u"Pomocn\u00EDk"},
    };
}

std::vector<E> About() {
    return {
        {1104, Expect::Picture, nullptr, kImageCentred},
        {1100, Expect::Edit, nullptr, kMultiLine | kReadOnly | kCentred | kBorder | kAutoVScroll},
        {1101, Expect::Push, nullptr},
        {1103, Expect::Push, nullptr},
        {1102, Expect::Push, u"Obnovi\u0165 v\u00FDchodiskov\u00E9 nastavenie ovl\u00E1da\u010Da",
         kTabStop},
    };
}

std::vector<E> AdvancedFeed() {
    const char16_t* special = u"\u0160peci\u00E1lne str\u00E1nky";
    return {
        {kNone, Expect::GroupBox, special},
        {1460, Expect::Check, u"Str\u00E1nka so z\u00E1hlav\u00EDm", 0, special},
        {1461, Expect::DropList, nullptr, kSorted | kRuntimeState, special},
        {1464, Expect::Check, u"Koncov\u00E1 strana", 0, special},
        {1465, Expect::DropList, nullptr, kSorted | kRuntimeState, special},
        {1526, Expect::GroupBox, u"", kRuntimeState},
        {1462, Expect::Check, u"Tla\u010D prvej strany z", kRuntimeState, u""},
        {1463, Expect::DropList, nullptr, kSorted | kRuntimeState, u""},
        {1525, Expect::Check,
         u"Prep\u00EDsa\u0165 nastavenie viac\u00FA\u010Delov\u00E9ho z\u00E1sobn\u00EDka",
         kRuntimeState},
        {1, Expect::Push, u"OK"},
        {2, Expect::Push, u"Zru\u0161i\u0165"},
        {1467, Expect::Push, u"Pomocn\u00EDk"},
        {1466, Expect::Push,
         u"Roz\u0161\u00EDren\u00E1 vo\u013Eba vstupn\u00E9ho z\u00E1sobn\u00EDka", kHidden},
    };
}

std::vector<E> CustomSize() {
    const char16_t* size = u"Vlastn\u00E9 rozmery str\u00E1nky";
    const char16_t* unit = u"Jednotka";
    const char16_t* offset = u"Posunutie vztiahnut\u00E9 k smeru posunu papiera";
    return {
        {kNone, Expect::GroupBox, size},
        {kNone, Expect::Text, u"\u0160\u00EDrka:", 0, size},
        // Sizes have decimals: the edits must take a decimal point.
        {1506, Expect::Edit, nullptr, kNotDigitsOnly, size},
        {1508, Expect::Text, u"(in, in)", 0, size},
        {kNone, Expect::Text, u"V\u00FD\u0161ka:", 0, size},
        {1507, Expect::Edit, nullptr, kNotDigitsOnly, size},
        {1509, Expect::Text, u"(in, in)", 0, size},
        {kNone, Expect::GroupBox, unit},
        {1510, Expect::Radio, u"Palec", 0, unit},
        {1511, Expect::Radio, u"Milimetre", 0, unit},
        {1512, Expect::Radio, u"bodov", 0, unit},
        {1505, Expect::Text, u"Smer pod\u00E1vania papiera"},
        {1504, Expect::DropDown, nullptr},
        {1, Expect::Push, u"Ulo\u017Ei\u0165"},
        {2, Expect::Push, u"Zru\u0161i\u0165"},
        {1503, Expect::Push, u"Pomocn\u00EDk"},
        {kNone, Expect::GroupBox, offset, kHidden},
        {kNone, Expect::Text, u"Perpendicular Direction:", kHidden},
        {1513, Expect::Edit, nullptr, kHidden},
        {kNone, Expect::Text, u"Parallel Direction:", kHidden},
        {1514, Expect::Edit, nullptr, kHidden},
    };
}

} // namespace

const std::vector<ExpectedDialog>& ExpectedDialogs() {
    static const std::vector<ExpectedDialog> dialogs = {
        {103, Layout()},
        {104, Paper()},
        {105, Features()},
        {106, Overlay()},
        {107, Fonts()},
        {108, Settings()},
        {109, Consumables()},
        {111, GraphicsOptions()},
        {112, ColorOptions()},
        {113, PostScriptOptions()},
        {114, DocumentOptions()},
        {115, WatermarkEditor()},
        {116, CrdMatching()},
        {117, IccMatching()},
        {118, ProfileManagement()},
        {119, Halftone()},
        {120, About()},
        {121, AdvancedFeed()},
        {192, CustomSize()},
    };
    return dialogs;
}

} // namespace restest
