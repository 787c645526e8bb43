// The lookup pass over a bare pair of fields, without the main window.
#include "ui/lookup_fields.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using qorin::ui::LookupFields;

class LookupFieldsTest : public QObject
{
    Q_OBJECT

private slots:
    void passShowsTheTranslation_data();
    void passShowsTheTranslation();
    void outputIsRedrawnOnlyWhenItsTextChanges();
};

void LookupFieldsTest::passShowsTheTranslation_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a headword") << ""
                                << "Kąpać się"
                                << "bańarse";
    QTest::newRow("the last row") << ""
                                  << "SZAMBO"
                                  << "el pozo negro";
    QTest::newRow("no such headword, after a match") << "kot"
                                                     << "kotx"
                                                     << "";
    QTest::newRow("emptied, after a match") << "kot"
                                            << ""
                                            << "";
    QTest::newRow("a translation typed as input") << ""
                                                  << "el gato"
                                                  << "";
}

void LookupFieldsTest::passShowsTheTranslation()
{
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QLineEdit input;
    QPlainTextEdit output;
    LookupFields fields(input, output);
    input.setText(before);
    fields.runPass();
    input.setText(typed);
    fields.runPass();
    QCOMPARE(output.toPlainText(), shown);
    QCOMPARE(fields.readOutput(), shown.toStdU16String());
}

void LookupFieldsTest::outputIsRedrawnOnlyWhenItsTextChanges()
{
    QLineEdit input;
    QPlainTextEdit output;
    LookupFields fields(input, output);
    QSignalSpy changes(&output, &QPlainTextEdit::textChanged);
    input.setText("apteka");
    fields.runPass();
    QCOMPARE(output.toPlainText(), QString("la farmacia, la botica"));
    QCOMPARE(changes.count(), 1);

    QTextCursor cursor = output.textCursor();
    cursor.setPosition(3);
    cursor.setPosition(11, QTextCursor::KeepAnchor);
    output.setTextCursor(cursor);
    for (int i = 0; i < 5; ++i)
        fields.runPass(); // each pass writes the output twice, the same text
    QCOMPARE(changes.count(), 1);
    QCOMPARE(output.textCursor().selectedText(), QString("farmacia"));

    input.setText("kot");
    fields.runPass();
    QCOMPARE(output.toPlainText(), QString("el gato"));
    QCOMPARE(changes.count(), 2);
}

QTEST_MAIN(LookupFieldsTest)
#include "lookup_fields_test.moc"
