#pragma once

#include <QString>

// What the core asks of the person at the keyboard: messages, yes/no questions and file names. The
// window answers with real dialogs; tests and the command line answer with prepared replies.
class CPouzivatel
{
public:
    enum class Ikona { Informacia, Vykricnik, Chyba };

    virtual ~CPouzivatel() = default;
    virtual void ShowMessage(const QString& text, Ikona icon = Ikona::Informacia) = 0;
    virtual bool AskYesNo(const QString& text) = 0;
    // A question whose answer is an action named on its button (`action`) or "Zrušiť"; true for the action.
    virtual bool AskAction(const QString& text, const QString& action)
    {
        (void)action;
        return AskYesNo(text);
    }
    // A file name to save under, starting from `proposedPath`; empty when the user cancels. The
    // dialog asks before overwriting an existing file.
    virtual QString AskSaveFileName(const QString& caption, const QString& proposedPath,
                                    const QString& filter) = 0;
    // The system's viewer shows the file (an exported page, say) or the web address (http...).
    virtual void OpenWithSystem(const QString& pathOrAddress) = 0;
    // Long operations show the wait cursor.
    virtual void SetBusy(bool busy) { (void)busy; }
    // Long operations tell how far they got (`done` of `total`); false when the user asked to stop.
    // The operation ends with done == total (or when it stops).
    virtual bool Progress(const QString& label, int done, int total)
    {
        (void)label;
        (void)done;
        (void)total;
        return true;
    }
};

// What the core asks of the main window: which list the right pane shows, and that every view
// reads the session again.
class CPohlady
{
public:
    virtual ~CPohlady() = default;
    virtual void SwitchView(int index) = 0;
    virtual void RefreshAllViews() = 0;
    // The session now works on the file at `path` (title bar and recent-file list follow it).
    virtual void SeasonFileChanged(const QString& path) { (void)path; }
    // A season file was opened (not saved under another name): the window goes where the user was.
    virtual void SeasonOpened(const QString& path) { (void)path; }
};

// Shows the wait cursor for the lifetime of the object.
class CZaneprazdnenie
{
public:
    explicit CZaneprazdnenie(CPouzivatel& user) : m_user(user) { m_user.SetBusy(true); }
    ~CZaneprazdnenie() { m_user.SetBusy(false); }
    CZaneprazdnenie(const CZaneprazdnenie&) = delete;
    CZaneprazdnenie& operator=(const CZaneprazdnenie&) = delete;

private:
    CPouzivatel& m_user;
};
