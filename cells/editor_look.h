// The look every cell editor shares: its text centred both ways in a default font of
// point size 10 (QLineEdit and the date and time editors alike).
#pragma once

#include <QFont>

template <class Editor>
void set_cell_editor_look(Editor& e)
{
    e.setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QFont font;
    font.setPointSize(10);
    e.setFont(font);
}
