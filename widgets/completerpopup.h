#pragma once
// A suggestion list that does not swallow the click that closes it.
//
// While a completer's list is open it takes every mouse press; a press
// outside it closes the list, and on its own the press would end there: the
// field that was clicked would not get the focus, a button would not be
// pressed, and what the user types next would land in the field the list
// belongs to. With this, the press closes the list and then reaches the
// widget under the pointer, as if no list had been open. A press inside the
// list chooses a suggestion as before.

class QCompleter;

// Call for each completer once it is set on its field (setCompleter): the
// list is made here, and one made before would be handed to the field.
void passClicksPastPopup(QCompleter *completer);
