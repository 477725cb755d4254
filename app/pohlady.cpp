#include "pohlady.h"

#include "competition/CLigaroView.h"
#include "competition/CZapasyView.h"
#include "competition/sutaze.h"

std::unique_ptr<CPohlad> CreateListView(int index, CLigaroDoc& doc, CRamecPohladov& frame)
{
    switch (index) {
    case 0:
        return std::make_unique<CLigaroView>(doc, frame);
    case 2:
        return std::make_unique<CZapasyView>(doc, frame);
    default:
        return std::make_unique<CNedostupnyPohlad>(ViewTitles().value(index), doc, frame);
    }
}
