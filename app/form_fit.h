#pragma once
// Forms laid out by fixed geometry (the login and about dialogs) were drawn for one font
// and no style sheet: a style sheet's padding and font, or a longer translation, can leave a
// button or label too small for its text. These grow such widgets to what their text needs
// under the style in effect.
class QWidget;

// Grows a button or label that is smaller than its size hint (a word-wrapped label: than the
// height its width needs). A button keeps its centre; a label grows to the right, or to the
// left where a widget stands at its right; the height grows evenly up and down. The widget is
// kept inside its parent, which grows when it is too small.
void fit_text(QWidget* w);

// fit_text for every button and label of the form.
void fit_texts(QWidget* form);
