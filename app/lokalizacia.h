#pragma once

class QCoreApplication;
class QTranslator;

// Qt's own Slovak texts for standard dialogs and buttons, and Slovak dates and numbers where the
// system has no locale of its own (C or POSIX).
void InstallSlovak(QCoreApplication& app, QTranslator& translator);
