#pragma once
// Dialog-data exchange, in the manner of MFC's DDX/DDV: one DoDataExchange binds control views
// to ids and moves texts and numbers between members and controls, in the direction the
// exchange was started with (UpdateData). When saving, a text longer than its limit or a
// number outside its range shows the framework's message (Slovak, task-modal), focuses the
// control and stops the exchange; UpdateData then returns false and the dialog stays open.
//
//   void CDocumentOptions::DoDataExchange(ui::DataExchange& dx) {
//       dx.Control(IDC_COPIES_SPIN, copiesSpin_);
//       dx.Text(IDC_EMAIL, email_, 63);          // char email_[64]
//       dx.Int(IDC_TIMEOUT, timeout_, 0, 3000);
//   }
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

#include "ui/window.h"

namespace ui {

class DialogBase;

// The framework's own messages (code page 1250).
std::string TextTooLongMessage(std::size_t maxLength);
std::string IntegerRangeMessage(long long min, long long max);

class DataExchange {
public:
    DataExchange(DialogBase& dialog, bool saving) : dialog_(dialog), saving_(saving) {}

    bool IsSaving() const { return saving_; }
    bool Failed() const { return failed_; }
    DialogBase& Dialog() const { return dialog_; }

    // Binds a view (ComboBox, Edit, ...) to the dialog's control `id`.
    template <class View>
    void Control(int id, View& view) {
        view.Attach(Item(id).GetHandle());
    }

    // A text of at most `maxLength` characters. Loading also limits an edit to that length.
    void Text(int id, std::string& value, std::size_t maxLength);
    // Into a fixed, NUL-terminated buffer; `maxLength` is cut to the buffer's room.
    void Text(int id, char* buffer, std::size_t bufferSize, std::size_t maxLength);
    template <std::size_t N>
    void Text(int id, char (&buffer)[N], std::size_t maxLength = N - 1) {
        Text(id, buffer, N, maxLength);
    }

    // A decimal integer within min to max (both included).
    template <class Integer>
    void Int(int id, Integer& value, long long min = std::numeric_limits<Integer>::min(),
             long long max = std::numeric_limits<Integer>::max()) {
        static_assert(std::is_integral_v<Integer>);
        if (min < static_cast<long long>(std::numeric_limits<Integer>::min()))
            min = std::numeric_limits<Integer>::min();
        if (max > static_cast<long long>(std::numeric_limits<Integer>::max()))
            max = std::numeric_limits<Integer>::max();
        long long wide = value;
        if (ExchangeInt(id, wide, min, max) && saving_)
            value = static_cast<Integer>(wide);
    }

    // A check box's state (kUnchecked, kChecked, kIndeterminate).
    void Check(int id, int& state);
    // The index of the checked button among `ids` (-1: none).
    void Radio(std::initializer_list<int> ids, int& index);

    // Ends a failed save: focuses the control (selecting an edit's text) and stops the
    // exchange. For checks of one's own, after showing one's own message.
    void Fail(int id);

private:
    Window Item(int id) const;
    bool ExchangeInt(int id, long long& value, long long min, long long max);
    bool Active() const { return !failed_; }

    DialogBase& dialog_;
    bool saving_;
    bool failed_ = false;
};

} // namespace ui
