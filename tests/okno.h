#pragma once

#include "app/CMainFrame.h"
#include "db/CNastavenia.h"
#include "pomocnik.h"

#include <QApplication>
#include <QDialog>
#include <QPrinter>
#include <QTimer>

#include <functional>
#include <memory>

// A main window over a season of the test's own, with the test's user answering.
class WindowTest : public SeasonTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs `open` (which shows a modal dialog of type D) and, while the dialog is up, `answer` on it.
    template <class D>
    void WithDialog(const std::function<void()>& open, const std::function<void(D*)>& answer)
    {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            answered = dialog != nullptr;
            if (dialog)
                answer(dialog);
            // Whatever the answer left open is closed, so that the test goes on.
            if (QWidget* still = QApplication::activeModalWidget())
                if (auto* d = qobject_cast<QDialog*>(still))
                    d->reject();
        });
        open();
        EXPECT_TRUE(answered) << "the dialog did not appear";
    }

    std::unique_ptr<CNastavenia> m_settings;
    QPrinter m_printer;
    std::unique_ptr<CMainFrame> m_frame;
};
