// The Features page and the graphics, halftone, document and PostScript options.
#include "res/resource.h"
#include "tests/pages/shown/colour_checks.h"
#include "tests/pages/shown/shown_fields.h"

namespace shown {
namespace {

constexpr std::string_view kHelp = "opens help";

const ShownControl kFeaturesRows[] = {
    Field(IDC_RESOLUTION, Shows::ListCode, "resolutionCode"),
    Custom(IDC_QUICK_COLOR, "colorProfileIndex, colorProfileName", ColorProfileChoiceShown),
    Stored(IDC_QUICK_COLOR, "stored colour profiles", 0, "\\Color Profiles"),
    LeftOut(IDC_GRAPHICS_OPTIONS, "opens the graphics options"),
    LeftOut(IDC_COLOR_OPTIONS, "opens the colour options"),
    LeftOut(IDC_POSTSCRIPT_OPTIONS, "opens the PostScript options"),
    LeftOut(IDC_DOCUMENT_OPTIONS, "opens the document options"),
    LeftOut(IDC_QUICK_COLOR_GROUP, "frame of the quick colours"),
};

const ShownControl kGraphicsRows[] = {
    Field(IDC_JOB_HALFTONE, Shows::ListCode, "halftoneType"),
    Field(IDC_PRINT_QUALITY, Shows::ListCode, "printQuality"),
    Field(IDC_TONER_SAVING, Shows::Check, "tonerSaving"),
    Field(IDC_INVERT_IMAGE, Shows::Check, "invertImage"),
    Field(IDC_MIRROR_IMAGE, Shows::Check, "mirrorImage"),
    Field(IDC_ROTATE_0, Shows::RadioValue, "rotation", 0),
    Field(IDC_ROTATE_90, Shows::RadioValue, "rotation", 1),
    Field(IDC_ROTATE_180, Shows::RadioValue, "rotation", 2),
    Field(IDC_ROTATE_270, Shows::RadioValue, "rotation", 3),
    LeftOut(IDC_ELEMENT_HALFTONES, "opens the halftones"),
    LeftOut(IDC_MARGINS_DEFAULT, "hidden, never used"),
    LeftOut(IDC_MARGINS_NONE, "hidden, never used"),
    LeftOut(IDC_GRAPHICS_HELP, kHelp),
};

const ShownControl kHalftoneRows[] = {
    Field(IDC_HALFTONE_IMAGE, Shows::ListCode, "imageHalftone"),
    Field(IDC_HALFTONE_TEXT, Shows::ListCode, "textHalftone"),
    Field(IDC_HALFTONE_GRAPHICS, Shows::ListCode, "graphicsHalftone"),
    LeftOut(IDC_HALFTONE_HELP, kHelp),
};

const ShownControl kDocumentRows[] = {
    Field(IDC_DOC_COLLATE, Shows::RadioValue, "collate", 1),
    Field(IDC_DOC_NO_COLLATE, Shows::RadioOtherwise, "collate"),
    Field(IDC_DOC_COPIES, Shows::Number, "copies"),
    Field(IDC_DOC_SCALE, Shows::Number, "scale"),
    Field(IDC_DOC_REPRINT, Shows::Check, "reprintEnabled"),
    Field(IDC_DOC_REPRINT_NAME, Shows::Text, "reprintName"),
    Field(IDC_DOC_NOTIFY_EMAIL, Shows::Check, "notifyByEmail"),
    Field(IDC_DOC_EMAIL_ADDRESS, Shows::Text, "emailAddress"),
    LeftOut(IDC_DOC_COPIES_SPIN, "arrows of the copies edit"),
    LeftOut(IDC_DOC_KEEP_DATE, "hidden, never used"),
    LeftOut(IDC_DOC_KEEP_TIME, "hidden, never used"),
    LeftOut(IDC_DOC_HELP, kHelp),
};

const ShownControl kPostScriptRows[] = {
    Field(IDC_PS_USE_DSC, Shows::Check, "useDsc"),
    Field(IDC_PS_ALLOW_EMULATION, Shows::Check, "allowPsEmulation"),
    Field(IDC_PS_PRINT_ERRORS, Shows::Check, "printErrorInfo"),
    Field(IDC_PS_USE_HEADER, Shows::Check, "useExternalHeader"),
    Field(IDC_PS_HEADER_PATH, Shows::Text, "externalHeaderPath"),
    Field(IDC_PS_EOD_MODE, Shows::ListCode, "endOfDocType"),
    Field(IDC_PS_CTRLD_POSITION, Shows::ListCode, "ctrlDPlacement"),
    Field(IDC_PS_JOB_TIMEOUT, Shows::Number, "jobWaitTimeout"),
    LeftOut(IDC_PS_HEADER_BROWSE, "opens the file dialog"),
    LeftOut(IDC_PS_HELP, kHelp),
};

} // namespace

const ShownTable kFeaturesShown{IDD_FEATURES, kFeaturesRows};
const ShownTable kGraphicsOptionsShown{IDD_GRAPHICS_OPTIONS, kGraphicsRows};
const ShownTable kHalftoneShown{IDD_HALFTONE, kHalftoneRows};
const ShownTable kDocumentOptionsShown{IDD_DOCUMENT_OPTIONS, kDocumentRows};
const ShownTable kPostScriptOptionsShown{IDD_POSTSCRIPT_OPTIONS, kPostScriptRows};

} // namespace shown
