#pragma once
// What the Features page's tests share: the display texts of tests/pages/data/features.ppd and
// small PPDs of their own for what that printer has not (or has otherwise).
#include <string>

#include "ui/headless/test_host.h"

namespace pages::testing {

using ui::headless::Cp1250;

inline const std::string k300 = "300 dpi";
inline const std::string k600 = "600 dpi";
inline const std::string k1200 = "1200 dpi";
inline const std::string kStandard = Cp1250(u8"Štandardné");
inline const std::string kSmooth = Cp1250(u8"Hladké farby");
inline const std::string kDetail = Cp1250(u8"Detailné");
inline const std::string kMosaic = "Mozaika";
inline const std::string kNormal = Cp1250(u8"Normálna");
inline const std::string kFine = Cp1250(u8"Jemná");

// The header of an inline PPD; features follow.
inline const std::string kPpdHeader = "*PPD-Adobe: \"4.3\"\n*NickName: \"Inline\"\n";

// Three resolutions; toner saving "Áno"/"Nie" (translated, unlike features.ppd).
inline const std::string kResolutions = "*OpenUI *Resolution/Resolution: PickOne\n"
                                        "*Resolution 300dpi/300 dpi: \"\"\n"
                                        "*Resolution 600dpi/600 dpi: \"\"\n"
                                        "*Resolution 1200dpi/1200 dpi: \"\"\n"
                                        "*CloseUI: *Resolution\n";
inline const std::string kTranslatedMiserMode = "*OpenUI *MiserMode/Toner: Boolean\n"
                                                "*MiserMode True/<C1>no: \"\"\n"
                                                "*MiserMode False/Nie: \"\"\n"
                                                "*CloseUI: *MiserMode\n";
inline const std::string kPlainMiserMode = "*OpenUI *MiserMode/Toner: Boolean\n"
                                           "*MiserMode True/True: \"\"\n"
                                           "*MiserMode False/False: \"\"\n"
                                           "*CloseUI: *MiserMode\n";
// Resolutions without display texts: the PPD cannot name the current one.
inline const std::string kUntranslatedResolutions = "*OpenUI *Resolution: PickOne\n"
                                                    "*Resolution 300dpi: \"\"\n"
                                                    "*Resolution 600dpi: \"\"\n"
                                                    "*CloseUI: *Resolution\n";

} // namespace pages::testing
