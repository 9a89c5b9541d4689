#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

// A small HTTP/1.0 server on the loopback interface for tests of the update clients. It answers
// GET requests from a table of paths (404 for the rest) and misbehaves on request: stalls, sends
// more than it announced, or announces nothing. Runs on the thread's event loop.
class TestHttpServer : public QObject {
    Q_OBJECT
public:
    struct Response {
        int status = 200;
        QByteArray body;
        // Sends the headers and half of the body, then nothing, keeping the connection open.
        bool stall = false;
        // Leaves out Content-Length, so only the closed connection ends the body.
        bool announceLength = true;
    };

    TestHttpServer();

    bool isListening() const { return server_.isListening(); }
    // "http://127.0.0.1:PORT"
    QString baseUrl() const;
    void setResponse(const QString& path, const Response& response);
    void removeResponse(const QString& path) { responses_.remove(path); }
    // The paths asked for so far, in order.
    QStringList requests() const { return requests_; }

private:
    void answer(QTcpSocket* socket);

    QTcpServer server_;
    QHash<QString, Response> responses_;
    QStringList requests_;
};
