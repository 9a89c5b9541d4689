#pragma once

#include <QHash>
#include <QStringList>
#include <QTcpServer>

// An HTTP server on the loopback interface for tests of the update clients: answers GET requests
// from a table of paths (404 for the rest), and stalls or leaves out the length on request.
class TestHttpServer : public QObject {
public:
    struct Response {
        int status = 200;
        QByteArray body;
        // Sends the headers and half of the body, then nothing, keeping the connection open.
        bool stall = false;
        // Without it, only the closed connection ends the body.
        bool announceLength = true;
        // Sends half of the body, then closes the connection.
        bool truncate = false;
        // Where a redirect points.
        QByteArray location = {};
    };

    TestHttpServer();

    bool isListening() const { return server_.isListening(); }
    QString baseUrl() const;
    void setResponse(const QString& path, const Response& response) { responses_[path] = response; }
    // The paths asked for so far, in order.
    QStringList requests() const { return requests_; }

private:
    void answer(QTcpSocket* socket);

    QTcpServer server_;
    QHash<QString, Response> responses_;
    QStringList requests_;
};
