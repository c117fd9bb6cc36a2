#pragma once
// Shared by the dbops tests: a scripted server with this thread's client logged in, the
// statements it received, replies, and byte-string helpers.
#include <QString>
#include <QTreeWidget>
#include <QStringList>
#include <string>

#include "query/wire.h"
#include "adt/list.h"
#include "adt/string.h"
#include "client/ruv_sql_lib_mem.h"
#include "ui_base/utf8.h"
#include "tests/peer/peer_wire.h"
#include "tests/peer/test_peer.h"

namespace dbops_test {

struct server {
  peer::test_peer peer;
  server() { connected = peer.listening() && ruv::wire_connect("127.0.0.1", peer.port(), "u", "p"); }
  ~server() { ruv::wire_exit(); }
  bool connected = false;

  // The statements received so far, in order (login and logout frames left out).
  QStringList statements() const {
    QStringList out;
    const auto frames = peer.frames();
    for (size_t i = 1; i < frames.size(); ++i) {
      if (frames[i].size() >= 4 && frames[i].compare(0, 4, "\xff\xff\xff\xff") != 0)
        out << QString::fromUtf8(frames[i].data() + 4, int(frames[i].size() - 4));
    }
    return out;
  }
  void ok() { peer.push_reply(peer::send(peer::ok_reply({}))); }
  void fail() { peer.push_reply(peer::send(peer::fail_reply())); }
  void rows(const std::vector<std::vector<std::string>>& texts, const std::vector<std::string>& names) {
    peer::result r;
    for (const auto& n : names) r.cols.push_back({n, peer::d_string});
    uint64_t sid = 1;
    for (const auto& row : texts) {
      peer::row pr{sid++, {}};
      for (const auto& t : row) pr.cells.push_back(peer::text(t));
      r.rows.push_back(std::move(pr));
    }
    peer.push_reply(peer::send(peer::ok_reply(r)));
  }
};

using text_list = kk::adt::list<kk::adt::string::string>;

// The tree item below the root at the path of texts (table, field); null when there is none.
inline QTreeWidgetItem* find_item(QTreeWidget* tree, const QStringList& path) {
  QTreeWidgetItem* it = tree->topLevelItem(0);
  for (const QString& p : path) {
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; it && i < it->childCount(); ++i)
      if (it->child(i)->text(0) == p) next = it->child(i);
    it = next;
  }
  return it;
}

inline text_list texts(const QStringList& items) {
  text_list out;
  for (const QString& s : items) out.push_back(utf8_bytes(s));
  return out;
}

}  // namespace dbops_test
