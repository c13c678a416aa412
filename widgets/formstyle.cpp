#include "formstyle.h"

#include <QWidget>

namespace {

QString buildSheet(const QString &firstBlockExtra)
{
    return QStringLiteral("/* 1. Main Window / Container Background (Light Blue) */\n") + firstBlockExtra
           + QStringLiteral("QMainWindow, QDialog, #centralwidget {\n"
                            "    background-color: #eaf4ff; \n"
                            "}\n"
                            "\n"
                            "/* 2. Top Header Panel (Dark Blue Area) */\n"
                            "#header_panel, #top_bar {\n"
                            "    background-color: #005a9c;\n"
                            "}\n"
                            "\n"
                            "/* 3. Normal Button State */\n"
                            "QPushButton {\n"
                            "    background-color: #0073b7; \n"
                            "    color: white;\n"
                            "    border: none;\n"
                            "    border-radius: 4px;\n"
                            "    padding: 6px 16px;\n"
                            "    font-weight: bold;\n"
                            "}\n"
                            "\n"
                            "/* 4. Hover State: Keeps it vibrant blue instead of turning dull white */\n"
                            "QPushButton:hover {\n"
                            "    background-color: #008be3; \n"
                            "}\n"
                            "\n"
                            "/* 5. Pressed State: Visual feedback when clicked */\n"
                            "QPushButton:pressed {\n"
                            "    background-color: #004b78; \n"
                            "}");
}

} // namespace

QString formStyleSheet()
{
    return buildSheet(QString());
}

QString formStyleSheetWithBackground()
{
    return buildSheet(QStringLiteral("background-color: rgb(240, 249, 255);\n"));
}

void applyFormStyleSheet(QWidget *form)
{
    applyFormStyleSheet(form, formStyleSheet());
}

void applyFormStyleSheet(QWidget *form, const QString &styleSheet)
{
    form->setStyleSheet(styleSheet);
    keepFormFonts(form);
}

void keepFormFonts(QWidget *form)
{
    // Polishing a widget under a style sheet sets its font anew, dropping one
    // given to it before: the widgets are polished first. Parents come before
    // their children, so each takes the font its parent was given a moment
    // before.
    form->ensurePolished();
    const QList<QWidget *> widgets = form->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->testAttribute(Qt::WA_SetFont) && widget->parentWidget())
            widget->setFont(widget->parentWidget()->font());
    }
}
