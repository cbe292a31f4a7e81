#pragma once

// A small HTTP server on 127.0.0.1 for alert tests: it keeps every request it reads and answers
// each with the status (and Location) the test sets. Never an outside address.
#include <QHostAddress>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>
#include <vector>

class LocalHttpServer : public QObject
{
public:
    struct Request
    {
        QByteArray method;
        QByteArray path;
        QMap<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };

    /// Listens on the port, or on a free one when 0; false when it cannot.
    bool listen(quint16 port = 0)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &LocalHttpServer::accept, Qt::UniqueConnection);
        if (!m_server.listen(QHostAddress::LocalHost, port))
            return false;
        m_port = m_server.serverPort();
        return true;
    }
    /// Takes a free port and goes away at once: its address is known while the server is down,
    /// and comeBack() answers there.
    bool startDown()
    {
        if (!listen())
            return false;
        close();
        return true;
    }
    bool comeBack() { return listen(m_port); }
    /// Stops listening and drops every connection, as a server that went away.
    void close()
    {
        m_server.close();
        for (QTcpSocket* socket : findChildren<QTcpSocket*>())
            socket->abort();
    }
    /// The port it listens on, or last listened on.
    quint16 port() const { return m_port; }
    QString url(const QString& path = QStringLiteral("/alerts")) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
    }

    int status = 200;
    QByteArray location; // sent with the status when set

    std::vector<Request> requests;

private:
    void accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void read(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
        if (headEnd < 0)
            return;
        Request request;
        const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
        const QList<QByteArray> first = lines.front().trimmed().split(' ');
        request.method = first.value(0);
        request.path = first.value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
        }
        const qsizetype length = request.headers.value("content-length").toLongLong();
        if (buffer.size() < headEnd + 4 + length)
            return;
        request.body = buffer.mid(headEnd + 4, length);
        m_buffers.remove(socket);
        requests.push_back(request);
        QByteArray answer = "HTTP/1.1 " + QByteArray::number(status) + " Answer\r\nContent-Length: 0\r\n";
        if (!location.isEmpty())
            answer += "Location: " + location + "\r\n";
        socket->write(answer + "Connection: close\r\n\r\n");
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    quint16 m_port = 0;
    QMap<QTcpSocket*, QByteArray> m_buffers;
};
