#include "app/numeric_check.h"

#include "app/text_helpers.h"
#include "ui/services.h"

namespace app {

bool CheckNumericTextWithMessage(std::string_view text, int mode) {
    switch (CheckNumericText(text, mode)) {
    case NumericTextCheck::Accepted:
        return true;
    case NumericTextCheck::NonNumeric:
        ui::MessageBox(kNonNumericTextMessage);
        return false;
    case NumericTextCheck::Empty:
    default:
        return false;
    }
}

} // namespace app
