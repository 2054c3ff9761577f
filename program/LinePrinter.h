#pragma once
// Prints text line by line on a printer, as a text file bound to the printer
// does: each line in the font in effect when it is written, one under the other
// from the top of the printable area, and a new page when the next line does not
// fit. A line wider than the page is cut at the right margin with an ellipsis.

#include <QPainter>
#include <QString>

class QFont;
class QPrinter;

class TLinePrinter
{
public:
    // Starts the job; raises "Unable to write to %s" (the output file or the
    // printer) when the printer refuses it.
    explicit TLinePrinter(QPrinter &printer);
    // Ends the job when Close was not reached, as after an error.
    ~TLinePrinter();

    TLinePrinter(const TLinePrinter &) = delete;
    TLinePrinter &operator=(const TLinePrinter &) = delete;

    void SetFont(const QFont &font);
    void SetFontSize(int points);
    // Raises "Unable to write to %s" when the printer reports an error.
    void WriteLine(const QString &text);
    // Ends and sends the job; raises as WriteLine does.
    void Close();

private:
    [[noreturn]] void Fail() const;

    QPrinter &m_printer;
    QPainter m_painter;
    qreal m_y = 0; // the top of the next line, in device pixels
};
