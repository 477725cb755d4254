#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class CLigaroDoc;
class QLabel;
class QLineEdit;
class QSocketNotifier;
class QStatusBar;
class QTimer;

// The window on a season shared on a server: what the others commit comes in as it happens (the
// server announces it; nothing is polled) and the list on screen shows it, keeping the selection, the
// scroll position, an open dialog and a field being typed in; the status bar says who else has the
// season open and when the connection to the server broke, and the window connects anew by itself.
// The moment the user sets about a change (she enters a field, opens a dialog) is the moment her write
// is checked against: another's change of the same row after it refuses the write.
class CSpolocnaSezona : public QObject
{
    Q_OBJECT
public:
    CSpolocnaSezona(CLigaroDoc& doc, QStatusBar* statusBar, std::function<QWidget*()> view,
                    std::function<void()> refresh, QObject* parent = nullptr);
    ~CSpolocnaSezona() override;

    // The season just opened (or closed): followed when it is on a server, else nothing.
    void SeasonChanged();
    // The label "Otvorené aj: N ďalší" (hidden when nobody else has it open).
    QLabel* OthersLabel() const { return m_others; }
    QLabel* ConnectionLabel() const { return m_connection; }
    // Takes in what others committed and refreshes the list now when it may (tests and the socket).
    void TakeOthersChanges();
    // The text of the others count: "Otvorené aj: 2 ďalší".
    static QString OthersText(int count);

private:
    void Follow();
    void Stop();
    void UpdateOthers();
    void ConnectionBroke();
    void TryReconnect();
    // Whether refreshing the list now could take something from under the user's hands (a dialog, an
    // editor of a list's cell).
    bool Busy() const;
    void RefreshKeepingPlace();
    void OnFocusChanged(QWidget* now);

    CLigaroDoc& m_doc;
    std::function<QWidget*()> m_view;
    std::function<void()> m_refresh;
    QLabel* m_others = nullptr;
    QLabel* m_connection = nullptr;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_presence = nullptr;
    QTimer* m_retry = nullptr;
    QTimer* m_reconnect = nullptr;
    bool m_pending = false;
    bool m_restoring = false;
    QPointer<QLineEdit> m_markedField;
};
