#pragma once
// One dialog template of the program, created from its resources with the real dialog font of
// the process's scale, and measured: every text its static texts, buttons, check boxes, radio
// buttons, group captions and lists can show (the template's own and those the program puts
// there at run time) fits the control, no control leaves the dialog and no two visible ones
// overlap unless a group box holds the other.
#include <string>
#include <vector>

#include "tools/layoutcheck/runtime_texts.h"

namespace layoutcheck {

struct TemplateStats {
    int controls = 0;
    int texts = 0; // texts measured
};

// Adds one report line per problem.
void CheckTemplate(int templateId, int dpi, const RuntimeTexts& texts,
                   std::vector<std::string>& problems, TemplateStats& stats);

} // namespace layoutcheck
