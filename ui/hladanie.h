#pragma once

#include <QObject>
#include <QString>

#include <functional>

class CMyListCtrl;
class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;

// A list of names a search field chooses from, whatever widget shows it.
struct CZoznamNaHladanie
{
    QWidget* widget = nullptr;
    std::function<int()> rows;
    std::function<QString(int row)> text;
    std::function<void(int row, bool hidden)> hide;
    std::function<bool(int row)> hidden;
    std::function<void(int row)> select; // -1 chooses nothing
    std::function<int()> selected;
};
CZoznamNaHladanie ZoznamNaHladanie(CMyListCtrl* list, int column = 0);
CZoznamNaHladanie ZoznamNaHladanie(QListWidget* list);

// A search field over a list of people or clubs, used by keyboard: typing narrows the list to the names
// a word of which begins so (surname or first name, without accents), in the list's order, and chooses
// the first of them; Up and Down move through the matches; Enter takes the chosen match and nothing
// when there is none, which `none` says ("Nikto nezodpovedá"). Letters typed into the list go to the
// search, so that they never jump through the names. The dialog opens with the cursor in the search.
class CHladanieMena : public QObject
{
    Q_OBJECT
public:
    CHladanieMena(QLineEdit* search, CZoznamNaHladanie list, QLabel* none, QObject* parent);
    // Narrows the list again (after it was refilled).
    void Narrow();
    // Whether a match is chosen and in sight.
    bool HasChoice() const;

signals:
    // Enter on a chosen match.
    void Taken();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Move(int step);
    QLineEdit* m_search;
    CZoznamNaHladanie m_list;
    QLabel* m_none;
};

inline const QString kNiktoNezodpoveda = QStringLiteral("Nikto nezodpovedá");
