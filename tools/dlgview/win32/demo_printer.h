#pragma once
// dlgview --demo: the application state the colour dialogs work on, set up for one printer as
// the program would have it: a new settings block naming the printer, the printer's PPD model,
// and the registry (the real one, where the printer's side data was imported).
#include <memory>
#include <string>

#include "app/option_combo_box.h"
#include "ui/dialog.h"

namespace dlgview {

class DemoPrinter {
public:
    DemoPrinter() = default;
    // Gives the PPD model back.
    ~DemoPrinter();
    DemoPrinter(const DemoPrinter&) = delete;
    DemoPrinter& operator=(const DemoPrinter&) = delete;

    // Loads the PPD (a UTF-8 path) and prepares the block; false with a reason when the PPD
    // cannot be read.
    bool Load(const std::string& ppdPath, const std::string& printer, std::string* error);

    // The dialog class of template `id` working on this state, or null when dlgview runs the
    // template bare (HasDemoDialog).
    std::unique_ptr<ui::Dialog> MakeDialog(int id) const;

private:
    // The profile management dialog's caller: no ICC dialog runs, so an empty list.
    app::OptionComboBox noCallerList_;
};

} // namespace dlgview
