#include "qturtlesyntaxhighlighter.h"

#include <QColor>
#include <QFont>
#include <QTextEdit>

QTurtleSyntaxHighlighter::QTurtleSyntaxHighlighter(QObject* parent)
    : QSyntaxHighlighter(parent)
{
}

QTurtleSyntaxHighlighter::QTurtleSyntaxHighlighter(QTextDocument* parent)
    : QSyntaxHighlighter(parent)
{
}

QTurtleSyntaxHighlighter::QTurtleSyntaxHighlighter(QTextEdit* parent)
    : QSyntaxHighlighter(parent)
{
}

void QTurtleSyntaxHighlighter::setCommands(const QStringList& words)
{
    // One format object changes from rule to rule, so a property set for an
    // earlier rule stays in the later ones until it is changed again.
    QTextCharFormat format;

    format.setFontItalic(true);
    format.setForeground(QColor(140, 140, 140));
    addRule(QStringLiteral("^Tur=Asm$"), format);

    format.setFontItalic(false);
    format.setForeground(QColor(224, 64, 224));
    addRule(QStringLiteral("[0-9]+"), format);

    format.setFontItalic(true);
    format.setForeground(QColor(225, 115, 10));
    addRule(QStringLiteral("\\b[A-D]X\\b"), format);

    format.setFontItalic(false);
    format.setFontWeight(QFont::Bold);
    format.setForeground(QColor(20, 20, 215));
    for (const QString& word : words) {
        addRule(QStringLiteral("\\b") + QRegularExpression::escape(word) + QStringLiteral("\\b"), format);
    }
    addRule(QStringLiteral("\\bproc\\b"), format);
    addRule(QStringLiteral("\\bdefine\\b"), format);

    format.setFontItalic(true);
    format.setFontWeight(QFont::Black);
    format.setForeground(QColor(130, 45, 180));
    addRule(QStringLiteral("\\bret\\b"), format);
    addRule(QStringLiteral("\\bend\\b"), format);

    format.setFontItalic(true);
    format.setFontWeight(QFont::Normal);
    format.setForeground(QColor(15, 170, 25));
    addRule(QStringLiteral("#[^\n]*"), format);
}

void QTurtleSyntaxHighlighter::highlightBlock(const QString& text)
{
    for (const Rule& rule : qAsConst(m_rules)) {
        // Matches do not overlap; an empty match (a command word that is the
        // empty string) still moves the search on.
        QRegularExpressionMatchIterator matches = rule.pattern.globalMatch(text);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            setFormat(match.capturedStart(), match.capturedLength(), rule.format);
        }
    }
}

void QTurtleSyntaxHighlighter::addRule(const QString& pattern, const QTextCharFormat& format)
{
    m_rules.append({ QRegularExpression(pattern), format });
}
