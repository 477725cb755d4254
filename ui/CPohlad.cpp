#include "CPohlad.h"

CPohlad::CPohlad(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_frame(frame)
{
}

bool CPohlad::TakesCommand(int) const
{
    return false;
}

bool CPohlad::CommandEnabled(int) const
{
    return false;
}

void CPohlad::RunCommand(int) {}
