#include "testhttpserver.h"

#include <QHostAddress>
#include <QTcpSocket>

TestHttpServer::TestHttpServer() {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        }
    });
}

QString TestHttpServer::baseUrl() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort());
}

void TestHttpServer::setResponse(const QString& path, const Response& response) {
    responses_.insert(path, response);
}

void TestHttpServer::answer(QTcpSocket* socket) {
    // The request is complete once its header block has arrived; its body, if any, is ignored.
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n") || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);

    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
    requests_ << path;
    Response response;
    response.status = 404;
    response = responses_.value(path, response);

    QByteArray header = "HTTP/1.0 " + QByteArray::number(response.status) +
                        (response.status < 400 ? " OK" : " Not Found") + "\r\n";
    if (response.announceLength)
        header += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    header += "Connection: close\r\n\r\n";
    socket->write(header);
    if (response.stall) {
        socket->write(response.body.left(response.body.size() / 2));
        return;
    }
    socket->write(response.body);
    socket->disconnectFromHost();
}
