#include "messagelog.h"
#include "sessionsandbox.h"
#include "settings.h"
#include "testhttpserver.h"
#include "updateengine.h"
#include "updater.h"

#include <QtTest>

namespace {

const QString kFeedPath = QStringLiteral("/quendral/castwell/sparkle/3.10/wincast.xml");

// The appcast signature the release script prints for `file` under `key`.
QByteArray signWith(const QString& key, const QString& file) {
    QProcess script;
    script.start(QStringLiteral(SIGN_SCRIPT),
                 {QStringLiteral(TEST_DATA_DIR "/keys/") + key, file, QStringLiteral("9.9"),
                  QStringLiteral("http://host/p.deb")});
    if (!script.waitForFinished() || script.exitCode() != 0)
        return {};
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("dsaSignature=\"([^\"]+)\""))
            .match(QString::fromUtf8(script.readAllStandardOutput()));
    return match.captured(1).toLatin1();
}

int validate(const QString& path, const QByteArray& signature) {
    return validateUpdateSignature(path.toStdWString().c_str(), signature.constData());
}

} // namespace

class SelfUpdateTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(session_.isValid() && server_.isListening());
        session_.enter();
        qputenv("CASTWELL_UPDATE_SERVER", server_.baseUrl().toUtf8());
        QCoreApplication::setOrganizationName(QStringLiteral("Quendral"));
        QCoreApplication::setApplicationName(QStringLiteral("Castwell"));
        QCoreApplication::setApplicationVersion(QStringLiteral("3.10.2.7"));
    }
    void cleanup() {
        MessageLog::release();
        delete Updater::instance();
    }

    void signatureCallback() {
        const QString file = session_.path(QStringLiteral("castwell_3.10.3_amd64.deb"));
        QFile package(file);
        QVERIFY(package.open(QIODevice::WriteOnly));
        package.write(QByteArray(100000, 'x'));
        package.close();
        const QByteArray good = signWith(QStringLiteral("update-dev-dsa.pem"), file);
        const QByteArray other = signWith(QStringLiteral("update-other-dsa.pem"), file);
        QVERIFY(!good.isEmpty() && !other.isEmpty());

        MessageLog::capture();
        QCOMPARE(validate(file, good), 1);
        QVERIFY(MessageLog::lines().isEmpty());

        QCOMPARE(validate(file, other), 0);
        QVERIFY(MessageLog::contains(QStringLiteral("Update file signature is not valid!")));
        MessageLog::clear();
        QCOMPARE(validate(session_.path(QStringLiteral("missing.deb")), good), 0);
        QVERIFY(MessageLog::contains(QStringLiteral("Failed to get Update SHA1")));
    }
    // The feed is the one of the program's first two version parts; checks come every 15 days,
    // never on the first run, and at most once a process when resumed.
    void resumeChecksOncePerProcessButNotOnFirstRun() {
        QCOMPARE(Updater::shortVersion(QStringLiteral("3.1")), QStringLiteral("3.1"));
        QCOMPARE(Updater::shortVersion(QStringLiteral("3")), QStringLiteral("3"));
        Updater::instance();
        QCOMPARE(appcast::configuration().appVersion, QStringLiteral("3.10"));
        QCOMPARE(appcast::configuration().buildVersion, QStringLiteral("3.10.2"));
        QCOMPARE(appcast::configuration().checkIntervalSeconds, 1296000);
        QCOMPARE(appcast::configuration().settingsPath,
                 QStringLiteral("Software\\Quendral\\Castwell\\Updater"));
        QVERIFY(Updater::automaticChecksDisabled());
        QVERIFY(!appcast::configuration().edPublicKey.isEmpty());

        Settings::instance();
        QVERIFY(Settings::isFirstRun());
        Updater::instance()->resume();
        QVERIFY(!Updater::automaticChecksDisabled());
        QTest::qWait(100);
        QVERIFY(server_.requests().isEmpty());
        delete Updater::instance();

        // A later run of the program.
        delete Settings::instance();
        Settings::instance();
        QVERIFY(!Settings::isFirstRun());
        Updater::instance()->resume();
        Updater::instance()->pause();
        QVERIFY(Updater::automaticChecksDisabled());
        Updater::instance()->resume();
        QTRY_COMPARE(server_.requests(), QStringList{kFeedPath});
        QTest::qWait(100);
        QCOMPARE(server_.requests().size(), 1);
    }

private:
    SessionSandbox session_;
    TestHttpServer server_;
};

QTEST_MAIN(SelfUpdateTest)
#include "tst_selfupdate.moc"
