#pragma once

#include <QLabel>

// The title label of views and the About box: bold "Arial CE", 14 pixels high.
class CMyStatic : public QLabel
{
    Q_OBJECT
public:
    explicit CMyStatic(const QString& text = {}, QWidget* parent = nullptr);
};
