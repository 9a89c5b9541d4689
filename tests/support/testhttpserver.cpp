#include "testhttpserver.h"

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

void TestHttpServer::answer(QTcpSocket* socket) {
    // Answered once the request's header block is complete; a body is ignored.
    const QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n") || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);

    const QString path = QString::fromLatin1(request.split(' ').value(1));
    requests_ << path;
    const Response response = responses_.value(path, {404, "not found"});
    QByteArray header = "HTTP/1.0 " + QByteArray::number(response.status) + " -\r\n";
    if (response.announceLength)
        header += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    if (!response.location.isEmpty())
        header += "Location: " + response.location + "\r\n";
    socket->write(header + "Connection: close\r\n\r\n");
    if (response.stall || response.truncate) {
        socket->write(response.body.left(response.body.size() / 2));
        if (response.truncate)
            socket->disconnectFromHost();
        return;
    }
    socket->write(response.body);
    socket->disconnectFromHost();
}
