#pragma once
// The about box: the program's name and version history.

#include <QString>

class QWidget;

// The rich text the about box shows.
QString aboutText();

// Shows the about box, modal over the parent.
void showAboutBox(QWidget *parent);
