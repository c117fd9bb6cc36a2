#pragma once
// The item model over one query result: it runs its statement through the execution
// context, keeps the values per column, picks a typed delegate per column, sorts, and
// tracks edits, inserted and removed rows until they are written back as SQL, at once per
// cell (immediate) or in one atomic batch (apply_edits).
//
// The values live in typed blocks per column (result_columns.h), in the order the server
// sent them; the grid's rows map onto those slots, so sorting moves only the map. Each
// cell may have a small record of marks, made for a column only once one of its cells is
// marked; the current value, the value as loaded (or as last written) and any further role
// values live in a side record made only for cells that were edited or inserted. Its number
// is the cell's identity in the edit sets, so sorting and moving rows keep them valid.
#include <QAbstractItemModel>
#include <QIcon>
#include <QMap>
#include <QVariant>

#include <memory>
#include <vector>

#include "adt/string.h"
#include "adt/tree.h"
#include "adt/types.h"
#include "adt/vector.h"
#include "query/result_columns.h"

class db_ctx;
class item_dlgt;

// The marks of one grid position (8 bytes).
struct cell {
  kk::u8 found = 0;   // 1: a hit of the cell search, painted yellow
  kk::u8 marks = 0;   // font and background painted by the last edit (tab_data_model)
  kk::u16 unused = 0;
  kk::u32 item = 0;   // 0: none yet; else 1 + the number of the cell's side record
};
static_assert(sizeof(cell) == 8);

// The side record of an edited or inserted cell.
struct cell_item {
  QVariant value;             // the edit-role value
  QVariant stored;            // as loaded from the server, or as last written to it
  QMap<int, QVariant> roles;  // values of other roles stored through setData
};

// A column header: the name as the server reported it, the name shown (brackets
// stripped), the type icon.
struct header_cell {
  QString name;
  QString shown;
  QIcon icon;
};

// The icon of a column type name; an empty icon for any other name.
QIcon type_icon(const QString& type_name);
QIcon type_icon(kk::adt::text_view type_name);
// The value a new cell of the type starts with; invalid for an unknown type name.
QVariant type_value_variant(kk::adt::text_view type_name);
// The SQL form of a value text for a column type: strings quoted (quote_text), dates and
// times between double quotes, anything else unchanged.
kk::adt::string::string sql_value_text(kk::adt::text_view text, kk::adt::text_view type_name);
// The literal that writes a value into a column of the type, or compares with it: integers
// in decimal whatever the display mode, floating-point numbers in the shortest text that
// reads back as the same number, always with a fraction or an exponent (-0.0, 5.0) and with
// the suffix "f" for a float column (0.1f), texts quoted, dates and times in the value
// library's texts with every digit the value holds (the zero date 0000-00-00 included).
// False for a value without literal (NaN, an infinity, an invalid date or time).
bool sql_value_literal(const QVariant& value, kk::adt::text_view type_name, kk::adt::string::string& out);

class tab_data_model : public QAbstractItemModel {
  Q_OBJECT

 public:
  tab_data_model(const kk::adt::string::string& table_name, db_ctx* ctx, QObject* parent = nullptr);
  ~tab_data_model() override;

  // Loads the result of one statement. A statement the grammar does not take whole is not
  // sent. quiet and entry_out go to exec_query (entry_out may be null). editable_out (may
  // be null) receives whether the rows may be written back; false on every failure.
  bool load(const kk::adt::string::string& text, bool quiet, bool* editable_out,
            kk::adt::string::string* entry_out);

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& index) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  QMap<int, QVariant> itemData(const QModelIndex& index) const override;
  bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
  bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  // Stable by a total order of the column's type (nulls first, NaN last); descending is
  // the exact reverse of ascending. Persistent indexes follow their rows.
  void sort_rows(int column, bool ascending);

  // The display text of a cell, as UTF-8 (through its column's delegate).
  kk::adt::string::string cell_text(const QModelIndex& index) const;
  QVariant cell_data(int row, int column, int role) const;
  bool set_cell_data(int row, int column, const QVariant& value, int role);
  // The marks of a cell (made for its column when there were none); null out of range.
  cell* cell_at(int row, int column);
  // The cell search's mark of a cell.
  bool found(int row, int column) const;
  void set_found(int row, int column, bool on);
  QVariant value_from_text(kk::adt::text_view text, int column) const;
  // The type name of a column (0 <= column < columnCount).
  const kk::adt::string::string& column_at(int column) const;
  // The field's name of a column (0 <= column < columnCount), as the header shows it: the
  // name the server reported, without square brackets around it. Statements name the field
  // by it (quote_name), whether the server reported a b or [a b].
  const kk::adt::string::string& column_name(int column) const;
  bool is_column_flag(int column) const;
  void set_read_only(bool flag);
  item_dlgt* column_delegate(int column) const;
  item_dlgt* delegate_for_type(kk::adt::text_view type_name) const;
  kk::u64 row_id(int row) const;
  const kk::adt::string::string& table_name() const { return table_name_; }

  // Number display modes of every delegate (integer columns change their texts).
  void set_display_bin();
  void set_display_dec();
  void set_display_hex();
  void set_display_normal();

  // Writes every pending change in one atomic statement; true when there was nothing to
  // send, else whether the server took it. The edit state stays as it is either way. While
  // an earlier write's outcome is unknown nothing is sent (false) unless despite_unknown.
  bool apply_edits(bool despite_unknown = false);
  // True when a write-back (a batch or an immediate update) was sent and the connection
  // failed before its answer: the server may hold those edits already, which stay pending.
  // Cleared by a load and by a write-back the server answered.
  bool outcome_unknown() const { return outcome_unknown_; }
  // True when the last apply_edits or update_cell sent its statement and the connection
  // failed before the answer.
  bool last_write_unknown() const { return last_write_unknown_; }
  // Writes one cell of a row from the server (immediate mode).
  bool update_cell(int row, int column);
  // Emits changed(true) when something became pending, changed(false) when nothing is left.
  void notify_changed();

  // Set by the data view: each edit of a cell's value goes to the server at once.
  bool immediate = false;

  // The text of the last refusal of an edit or a write-back (a value without literal).
  QString last_refusal() const { return last_refusal_; }

  static constexpr kk::u64 new_row_id = ~kk::u64(0);

 Q_SIGNALS:
  void changed(const bool& f);
  // An edit or a write-back was refused before anything was sent; text says why.
  void refused(const QString& text);
  // An immediate update was sent and the connection failed before its answer.
  void update_unknown();

 private:
  bool in_range(int row, int column) const;
  // The marks of a slot of a column: a shared blank record where the column has none.
  const cell& marks_of(std::size_t column, kk::u32 slot) const;
  cell& marks_for(std::size_t column, kk::u32 slot);
  QVariant value_of(std::size_t column, kk::u32 slot) const;
  cell_item* item_of(const cell& c) const;
  cell_item& ensure_item(std::size_t column, kk::u32 slot);
  void release_item(std::size_t column, kk::u32 slot);
  bool is_modified(std::size_t column, kk::u32 slot) const;
  // The grid's text of a value of the column.
  QString display_text(int column, const QVariant& value) const;
  void paint_marks(std::size_t column, kk::u32 slot);
  void clear_content();
  // The bytes the content's blocks take.
  kk::u64 held_bytes() const noexcept;
  // Gives the heap's free memory back to the system when the model now holds much less than
  // held_before, a big result's worth (give_back_above).
  void give_back_memory(kk::u64 held_before) const;
  static constexpr kk::u64 give_back_above = kk::u64(64) << 20;
  bool literal_or_refuse(const QVariant& v, int column, kk::adt::string::string& out);
  // Refuses (with a message) a write into a column whose field has no name: no statement
  // could name it. True when the column has a name.
  bool named_or_refuse(int column);
  void refuse(const QString& text);
  // Notes how a write-back's exchange ended (last_write_unknown, outcome_unknown).
  void note_write(bool answered_ok);
  void apply_to_delegates(void (item_dlgt::*op)());
  std::vector<kk::u32> ascending_order(int column) const;

  struct type_order {
    using probe = kk::adt::text_view;
    static kk::adt::text_view key_of(const kk::adt::string::string& k) noexcept { return k.view(); }
    static int compare(kk::adt::text_view a, kk::adt::text_view b) noexcept;
  };

  db_ctx* ctx_;
  kk::adt::string::string table_name_;
  kk::adt::tree<kk::adt::string::string, item_dlgt*, type_order> delegate_map_;
  item_dlgt* fallback_ = nullptr;  // read-only text delegate of columns of an unknown type
  std::vector<result_column> columns_;     // the values, one slot per row ever held
  std::vector<std::vector<cell>> marks_;   // per column: empty, or one record per slot
  std::vector<kk::u32> rows_;              // the grid's row -> its slot
  std::vector<item_dlgt*> delegates_;
  std::vector<header_cell> headers_;
  kk::adt::vector<kk::u64> row_ids_;       // per slot
  std::vector<kk::adt::string::string> type_names_;
  std::vector<kk::adt::string::string> names_;  // field names (column_name)
  std::vector<std::unique_ptr<cell_item>> items_;
  std::vector<kk::u32> free_items_;

  kk::adt::tree<kk::u64> changed_items_, new_items_, deleted_ids_;
  kk::u64 changed_count_ = 0, new_count_ = 0, deleted_count_ = 0;
  bool pending_ = false;
  bool outcome_unknown_ = false;
  bool last_write_unknown_ = false;
  QString last_refusal_;
};
