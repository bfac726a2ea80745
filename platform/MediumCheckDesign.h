#pragma once
// The check window's design state: the findings of the medium check, one to a row, the selected
// one's message and fix below, and the commands.
#include "platform/Design.h"

namespace CheckCtl {
constexpr ControlId lblSummary = 0, lvFindings = 1, lblDetails = 2, txtDetails = 3, CheckAgain = 4,
                    WriteWebPage = 5, MakeDiscImage = 6, CloseButton = 7;
}

constexpr ColumnDesign kFindingColumns[] = {{"Severity", 1080}, {"Code", 2460}, {"Where", 5160}};

const WindowDesign& MediumCheckDesign();
