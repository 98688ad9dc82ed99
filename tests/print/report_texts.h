// The reports of the two worked examples, written out by hand, as the user gets them.
#ifndef KORVANE_TESTS_PRINT_REPORT_TEXTS_H
#define KORVANE_TESTS_PRINT_REPORT_TEXTS_H

#include <QByteArray>
#include <QString>

namespace testing_support {

// The design run on the start-up texts: 8 lines, 187 characters.
inline const QString kDesignReport = QStringLiteral(
    u"2nd BPF\r\n"
    u"[Input data]\r\n"
    u"fo = 1kHz   Q = 1.0\r\n"
    u"R1 =  11.000kΩ  R2 =  11.000kΩ  R3 =  22.000kΩ\r\n"
    u"C1 =  15.000nF   C2 =  15.000nF\r\n"
    u"\r\n"
    u"[Result data]\r\n"
    u"fo = 964.575Hz   Q = 1000.000m   H=   1.000\r\n");

// The same report as UTF-8 bytes; "Ω" (U+03A9) is CE A9.
inline const QByteArray kDesignReportUtf8(
    "2nd BPF\r\n"
    "[Input data]\r\n"
    "fo = 1kHz   Q = 1.0\r\n"
    "R1 =  11.000k\xCE\xA9  R2 =  11.000k\xCE\xA9  R3 =  22.000k\xCE\xA9\r\n"
    "C1 =  15.000nF   C2 =  15.000nF\r\n"
    "\r\n"
    "[Result data]\r\n"
    "fo = 964.575Hz   Q = 1000.000m   H=   1.000\r\n");

// The analysis of R1 10k, R2 1k, R3 100k, C1 and C2 10n: 7 lines, 139 characters.
inline const QString kAnalysisReport = QStringLiteral(
    u"2nd BPF\r\n"
    u"[Input data]\r\n"
    u"R1 = 10kΩ  R2 = 1kΩ  R3 = 100kΩ\r\n"
    u"C1 = 10nF  C2 = 10nF\r\n"
    u"\r\n"
    u"[Result data]\r\n"
    u"fo =   1.669kHz   Q =   5.244   H=   5.000\r\n");

inline const QByteArray kAnalysisReportUtf8(
    "2nd BPF\r\n"
    "[Input data]\r\n"
    "R1 = 10k\xCE\xA9  R2 = 1k\xCE\xA9  R3 = 100k\xCE\xA9\r\n"
    "C1 = 10nF  C2 = 10nF\r\n"
    "\r\n"
    "[Result data]\r\n"
    "fo =   1.669kHz   Q =   5.244   H=   5.000\r\n");

}  // namespace testing_support

#endif  // KORVANE_TESTS_PRINT_REPORT_TEXTS_H
