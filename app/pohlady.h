#pragma once

#include "ui/CPohlad.h"

#include <memory>

// The list of the right pane for a view index (0..11).
std::unique_ptr<CPohlad> CreateListView(int index, CLigaroDoc& doc, CRamecPohladov& frame);
