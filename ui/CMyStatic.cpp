#include "CMyStatic.h"

#include "output/CQtPlocha.h"

CMyStatic::CMyStatic(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    InstallFontSubstitutes();
    QFont f(QStringLiteral("Arial CE"));
    f.setPixelSize(14);
    f.setWeight(QFont::Bold);
    setFont(f);
}
