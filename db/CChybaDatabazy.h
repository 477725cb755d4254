#pragma once

#include <QString>
#include <stdexcept>

// A store failure as the user is told about it: one Slovak sentence saying what could not be done,
// and the engine's own text that says why.
class CChybaDatabazy : public std::runtime_error
{
public:
    CChybaDatabazy(const QString& sentence, const QString& engineText = {}, int engineCode = 0);

    const QString& Sentence() const { return m_sentence; }
    const QString& EngineText() const { return m_engineText; }
    int EngineCode() const { return m_engineCode; }
    // The sentence, followed by the engine's text on its own line when there is one.
    QString UserText() const;

private:
    QString m_sentence;
    QString m_engineText;
    int m_engineCode;
};

// A write refused because another user changed the same row since this one read it: what she typed was
// not stored and may be entered again.
class CChybaKonfliktu : public CChybaDatabazy
{
public:
    using CChybaDatabazy::CChybaDatabazy;
};
