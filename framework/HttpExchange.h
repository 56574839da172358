// One HTTP/1.0 GET over a QTcpSocket (framework-private; HTTPSocket is the control around it).
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTcpSocket>
#include <QUrl>

#include "HTTPSocket.h"

class HttpExchange : public QObject {
  Q_OBJECT

 public:
  using HeaderList = QList<QPair<QByteArray, QByteArray>>;

  // The header block is refused past this; the body past HTTPSocket::kMaxBodyBytes.
  static constexpr qsizetype kMaxHeaderBytes = 64 * 1024;

  explicit HttpExchange(QObject* parent = nullptr);
  ~HttpExchange() override;

  // Starts the GET. Every outcome, a malformed URL included, is signalled from the event loop.
  void start(const QByteArray& url);
  // Stops at once: drops the connection and everything received, and signals nothing more.
  void abort();

  // The exact bytes the exchange sends for `url`, and where it connects: the system proxy when
  // that is an HTTP proxy, the URL's host otherwise. The path goes out as given, with only
  // blanks and control bytes escaped. An empty request: the URL is malformed.
  struct Plan {
    QByteArray request;
    QString connectHost;
    quint16 connectPort = 0;
  };
  static Plan PlanFor(const QByteArray& url);

 signals:
  // The connection is up and the request is on its way.
  void connected();
  // The whole answer: at Content-Length, or at the close when the answer has none.
  void finished(int status, const HttpExchange::HeaderList& headers, const QByteArray& body);
  // No whole answer came: one of the HTTPSocket::kError codes.
  void failed(int code);

 private:
  void begin();
  void onConnected();
  void onReadyRead();
  void onClosed();
  void onError(QAbstractSocket::SocketError error);
  // Consumes what the socket has; false once the exchange has ended.
  bool consume();
  bool readHead();
  bool readBody();
  bool parseHead(const QByteArray& head);
  void succeed();
  void fail(int code);
  void stop();

  QTcpSocket socket_;
  QByteArray request_;
  QString connectHost_;
  quint16 connectPort_ = 0;
  QByteArray head_;
  QByteArray body_;
  HeaderList headers_;
  int status_ = 0;
  qint64 contentLength_ = -1;  // -1: the answer ends at the close
  bool started_ = false;
  bool statusLineSeen_ = false;
  bool headDone_ = false;
  bool ended_ = false;
};
