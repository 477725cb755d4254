#include "CChybaDatabazy.h"

CChybaDatabazy::CChybaDatabazy(const QString& sentence, const QString& engineText, int engineCode)
    : std::runtime_error((engineText.isEmpty()
                              ? sentence
                              : sentence + QStringLiteral(" (") + engineText + QStringLiteral(")"))
                             .toStdString()),
      m_sentence(sentence), m_engineText(engineText), m_engineCode(engineCode)
{
}

QString CChybaDatabazy::UserText() const
{
    if (m_engineText.isEmpty())
        return m_sentence;
    return m_sentence + QStringLiteral("\n\n") + m_engineText;
}
