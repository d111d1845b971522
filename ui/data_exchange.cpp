#include "ui/data_exchange.h"

#include <algorithm>
#include <charconv>

#include "ui/dialog.h"
#include "ui/services.h"

namespace ui {
namespace {

constexpr unsigned kMessageStyle = kMbOk | kMbIconWarning | kMbTaskModal;

bool ParseWholeInteger(std::string_view text, long long& value) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    if (begin < end && text[begin] == '+')
        ++begin;
    if (begin == end)
        return false;
    const char* last = text.data() + end;
    auto [ptr, ec] = std::from_chars(text.data() + begin, last, value);
    return ec == std::errc() && ptr == last;
}

} // namespace

std::string TextTooLongMessage(std::size_t maxLength) {
    // "Zadajte najviac N znak/znaky/znakov." with the Slovak plural of the count.
    const char* noun = "znakov";
    if (maxLength == 1)
        noun = "znak";
    else if (maxLength >= 2 && maxLength <= 4)
        noun = "znaky";
    return "Zadajte najviac " + std::to_string(maxLength) + " " + noun + ".";
}

std::string IntegerRangeMessage(long long min, long long max) {
    // "Zadajte celé číslo od MIN do MAX."
    return "Zadajte cel\xE9 \xE8\xEDslo od " + std::to_string(min) + " do " + std::to_string(max) +
           ".";
}

Window DataExchange::Item(int id) const {
    return dialog_.GetDlgItem(id);
}

void DataExchange::Text(int id, std::string& value, std::size_t maxLength) {
    if (!Active())
        return;
    const Window control = Item(id);
    if (!saving_) {
        control.SetWindowText(value);
        if (control.GetKind() == ControlKind::Edit)
            Edit(control.GetHandle())
                .LimitText(static_cast<int>(
                    std::min<std::size_t>(maxLength, static_cast<std::size_t>(INT32_MAX))));
        return;
    }
    std::string text = control.GetWindowText();
    if (text.size() > maxLength) {
        dialog_.MessageBox(TextTooLongMessage(maxLength), kMessageStyle);
        Fail(id);
        return;
    }
    value = std::move(text);
}

void DataExchange::Text(int id, char* buffer, std::size_t bufferSize, std::size_t maxLength) {
    if (!Active() || bufferSize == 0)
        return;
    maxLength = std::min(maxLength, bufferSize - 1);
    if (!saving_) {
        // The buffer may hold no terminator within its size: never read past it.
        const std::size_t length = strnlen(buffer, bufferSize);
        std::string text(buffer, std::min(length, maxLength));
        Text(id, text, maxLength);
        return;
    }
    std::string text;
    Text(id, text, maxLength);
    if (failed_)
        return;
    const std::size_t length = std::min(text.size(), maxLength);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

bool DataExchange::ExchangeInt(int id, long long& value, long long min, long long max) {
    if (!Active())
        return false;
    const Window control = Item(id);
    if (!saving_) {
        control.SetWindowText(std::to_string(value));
        return true;
    }
    long long parsed = 0;
    if (!ParseWholeInteger(control.GetWindowText(), parsed) || parsed < min || parsed > max) {
        dialog_.MessageBox(IntegerRangeMessage(min, max), kMessageStyle);
        Fail(id);
        return false;
    }
    value = parsed;
    return true;
}

void DataExchange::Check(int id, int& state) {
    if (!Active())
        return;
    const Button button(Item(id).GetHandle());
    if (saving_)
        state = button.GetCheck();
    else
        button.SetCheck(state);
}

void DataExchange::Radio(std::initializer_list<int> ids, int& index) {
    if (!Active())
        return;
    int position = 0;
    if (saving_) {
        index = -1;
        for (int id : ids) {
            if (Button(Item(id).GetHandle()).GetCheck() == kChecked) {
                index = position;
                break;
            }
            ++position;
        }
        return;
    }
    for (int id : ids) {
        Button(Item(id).GetHandle()).SetCheck(position == index ? kChecked : kUnchecked);
        ++position;
    }
}

void DataExchange::Fail(int id) {
    failed_ = true;
    dialog_.GotoDlgCtrl(Item(id));
}

} // namespace ui
