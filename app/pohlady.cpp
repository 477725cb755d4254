#include "pohlady.h"

#include "competition/sutaze.h"

std::unique_ptr<CPohlad> CreateListView(int index, CLigaroDoc& doc, CRamecPohladov& frame)
{
    return std::make_unique<CNedostupnyPohlad>(ViewTitles().value(index), doc, frame);
}
