#pragma once

#include <QRegularExpression>
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

protected:
    void highlightBlock(const QString& text) override;

private:
    struct Rule
    {
        QRegularExpression pattern;
        QTextCharFormat format;
    };

    void addRule(const QString& pattern, const QTextCharFormat& format);

    QVector<Rule> m_rules;
};
