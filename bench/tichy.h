#pragma once

#include "db/CPouzivatel.h"

// The user of the benchmarks: says nothing, answers yes, chooses no file.
class CTichy : public CPouzivatel
{
public:
    void ShowMessage(const QString&, Ikona) override {}
    bool AskYesNo(const QString&) override { return true; }
    QString AskSaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    void OpenWithSystem(const QString&) override {}
};
