// One HTTP/1.0 GET over a QTcpSocket (framework-private; HTTPSocket is the control around it).
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTcpSocket>
#include <QTimer>
#include <string>

#include "HTTPSocket.h"

class HttpExchange : public QObject {
  Q_OBJECT

 public:
  using HeaderList = QList<QPair<QByteArray, QByteArray>>;

  // The header block, blank line included, is refused past this; interim (1xx) answers count
  // towards it too, so a host cannot keep us reading heads for ever. The body is refused past
  // HTTPSocket::kMaxBodyBytes.
  static constexpr qsizetype kMaxHeaderBytes = 64 * 1024;

  explicit HttpExchange(QObject* parent = nullptr);
  ~HttpExchange() override;

  // Starts the GET. Every outcome, a malformed URL included, is signalled from the event loop.
  void start(const QByteArray& url);
  // Stops at once: drops the connection and everything received, and signals nothing more.
  void abort();
  // The body once `finished` has come, handed over without a copy.
  std::string takeBody() { return std::move(body_); }

  // The exact bytes the exchange sends for `url`, and where it connects: the proxy when the
  // setting names an HTTP proxy for that host, the URL's host otherwise, through the SOCKS5
  // proxy at socksHost when the setting names one, which is asked for connectHost:connectPort
  // by socksConnect. The path goes out as given, with only blanks and control bytes escaped.
  // An empty request: the URL is malformed (an authority with anything but a host name, an
  // IPv6 address in brackets and a port included), or, with proxyUnusable, the proxy setting
  // is one we cannot use.
  struct Plan {
    QByteArray request;
    QString connectHost;
    quint16 connectPort = 0;
    QString socksHost;  // empty: no SOCKS5 proxy
    quint16 socksPort = 0;
    QByteArray socksConnect;
    bool proxyUnusable = false;
  };
  static Plan PlanFor(const QByteArray& url);

  // Tests: connections made straight to `name` go to `address`, as if the name resolved to it,
  // so that a test can tell a direct request from a proxied one without the machine's own
  // names. A proxy is handed the name as it stands.
  static void MapHostForTests(const QString& name, const QHostAddress& address);

 signals:
  // The connection is up and the request is on its way.
  void connected();
  // The whole answer: at Content-Length, or at the orderly close when the answer has none.
  void finished(int status, const HttpExchange::HeaderList& headers, const std::string& body);
  // No whole answer came: one of the HTTPSocket::kError codes.
  void failed(int code);

 private:
  enum class Read { Data, Nothing, Closed, Broken };

  // Where a connection through a SOCKS5 proxy stands: the proxy's choice of method awaited,
  // then its reply to CONNECT, then the request under way.
  enum class Socks { Method, Reply, Through };

  void begin();
  void onConnected();
  void sendRequest();
  // Reads the proxy's answers to the last byte and no further; false once nothing more can be
  // read now or the exchange has ended.
  bool readSocks();
  // How long the proxy's answer is, as far as what has come tells; -1: no answer of SOCKS5.
  qsizetype socksReplyLength() const;
  void onReadyRead();
  void onError(QAbstractSocket::SocketError error);
  void onSilence();
  // Reads at most `max` bytes into `into`; `*count` is how many came.
  Read readSome(char* into, qint64 max, qint64* count);
  bool Ended(Read result);
  bool readHead();
  bool readBody();
  // Takes every whole head out of head_; false once the exchange has ended.
  bool takeHeads();
  bool parseHead(const QByteArray& head);
  bool bodyComplete() const;
  void closed();
  void succeed();
  void fail(int code);
  void stop();

  QTcpSocket socket_;
  QTimer silence_;
  QByteArray request_;
  QString connectHost_;
  quint16 connectPort_ = 0;
  QString socksHost_;
  quint16 socksPort_ = 0;
  QByteArray socksConnect_;
  QByteArray socksReply_;
  Socks socks_ = Socks::Through;
  bool proxyUnusable_ = false;
  QByteArray head_;
  qsizetype headBytes_ = 0;  // head bytes read so far, interim answers included
  qsizetype scanned_ = 0;    // bytes of head_ already looked at
  // The body's buffer, cleared ahead of what has come; bodyLength_ bytes of it are the body.
  std::string body_;
  qint64 bodyLength_ = 0;
  HeaderList headers_;
  int status_ = 0;
  qint64 contentLength_ = -1;  // -1: the answer ends at the close
  bool started_ = false;
  bool statusLineSeen_ = false;
  bool headDone_ = false;
  bool ended_ = false;
};
