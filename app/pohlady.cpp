#include "pohlady.h"

#include "competition/CLigaroView.h"
#include "competition/CZapasyView.h"
#include "competition/sutaze.h"
#include "discipline/CNesmuHratView.h"
#include "discipline/CZKView.h"
#include "officials/CRozhodciView.h"
#include "players/CHraciView.h"
#include "results/CNajStrelciView.h"
#include "results/CTabulkaView.h"
#include "results/CVysledkyView.h"
#include "results/odstupenieklubu.h"

std::unique_ptr<CPohlad> CreateListView(int index, CLigaroDoc& doc, CRamecPohladov& frame)
{
    switch (index) {
    case 1:
        return std::make_unique<CHraciView>(doc, frame);
    case 2:
        return std::make_unique<CZapasyView>(doc, frame);
    case 3:
        return std::make_unique<CVysledkyView>(doc, frame);
    case 4:
        return std::make_unique<CTabulkaView>(doc, frame);
    case 5:
        return std::make_unique<CNajStrelciView>(doc, frame);
    case 6:
        return std::make_unique<CZKView>(doc, frame);
    case 7:
        return std::make_unique<CCKView>(doc, frame);
    case 8:
        return std::make_unique<CRozhodciView>(CRegister::Referees(), doc, frame);
    case 9:
        return std::make_unique<CRozhodciView>(CRegister::Delegates(), doc, frame);
    case 10:
        return std::make_unique<CNominacieView>(doc, frame);
    case 11:
        return std::make_unique<CZnamkyView>(doc, frame);
    case kPohladNesmuHrat:
        return std::make_unique<CNesmuHratView>(doc, frame);
    default:
        return std::make_unique<CLigaroView>(
            doc, frame, CPrikazyOdstupenia{WithdrawClubCommand, CancelWithdrawalCommand});
    }
}
