#include "CPohlad.h"

#include "CMyStatic.h"

#include <QLabel>
#include <QVBoxLayout>

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

const QString CNedostupnyPohlad::kNedostupny = QStringLiteral("Tento zoznam zatiaľ nie je k dispozícii.");

CNedostupnyPohlad::CNedostupnyPohlad(const QString& title, CLigaroDoc& doc, CRamecPohladov& frame,
                                     QWidget* parent)
    : CPohlad(doc, frame, parent), m_title(new CMyStatic(title, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_title);
    auto* text = new QLabel(kNedostupny, this);
    text->setObjectName(QStringLiteral("nedostupny"));
    layout->addWidget(text);
    layout->addStretch();
}
