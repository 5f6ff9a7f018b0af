#pragma once

#include "colorscheme.h"

#include <QRegularExpression>
#include <QStringList>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QVector>

class QTextDocument;
class QTextEdit;

// Colours turtle scripts. The command words come from the machine's command
// map through the run session, so the highlighter never keeps a list of its own.
class QTurtleSyntaxHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit QTurtleSyntaxHighlighter(QObject* parent);
    explicit QTurtleSyntaxHighlighter(QTextDocument* parent);
    explicit QTurtleSyntaxHighlighter(QTextEdit* parent);

    // Appends every rule. Does not rehighlight.
    void setCommands(const QStringList& words);
    // The colours of the rules, light ones until told otherwise; colours the text again.
    void setColorScheme(const ColorScheme& scheme);

protected:
    void highlightBlock(const QString& text) override;

private:
    struct Rule
    {
        QRegularExpression pattern;
        QTextCharFormat format;
    };

    void addRule(const QString& pattern, const QTextCharFormat& format);
    void buildRules();

    QVector<Rule> m_rules;
    QStringList m_commands;
    bool m_hasCommands = false;
    ColorScheme m_scheme = ColorScheme::light();
};
