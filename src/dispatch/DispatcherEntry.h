// The machinery shared by every dispatcher table (the library's and the
// packages'): declaring an entry, resolving it once, and running a table's
// resolution ahead of the static initialisers that might call it.
#pragma once

namespace qx {

// Declares entry `name` with its pointer type `TPtr_<name>`, an alias of `form`.
#define QX_DECLARE_DISPATCHER_ENTRY(form, name) \
  using TPtr_##name = form;                     \
  extern TPtr_##name name;

// Defines entry `name` (in the table's .cpp); it stays null until resolved.
#define QX_DEFINE_DISPATCHER_ENTRY(form, name) TPtr_##name name = nullptr;

// Defines the entries of a table's list and its initialisation function,
// which resolves them on its first call and does nothing on later ones.
#define QX_DEFINE_DISPATCHER_TABLE(ENTRIES, initialize) \
  ENTRIES(QX_DEFINE_DISPATCHER_ENTRY)                   \
  void initialize() noexcept {                          \
    static const bool resolved = [] {                   \
      ENTRIES(QX_RESOLVE_DISPATCHER_ENTRY)              \
      return true;                                      \
    }();                                                \
    static_cast<void>(resolved);                        \
  }

// Resolves entry `name` to IPP's implementation or to `qx::fallback::name`.
#define QX_RESOLVE_DISPATCHER_ENTRY(form, name) \
  ::qx::detail::ResolveEntry(name, #name, &::qx::fallback::name);

namespace detail {

// The address IPP exports under `name`: signal-domain entries (`ipps...`)
// come from the signal libraries, all others from the image libraries.
void* LookUpIppEntry(const char* name) noexcept;

// How many entries all dispatcher tables together have looked up so far.
int IppEntryLookUps() noexcept;

// Points `entry` at IPP's implementation of `name`, or at `fallback` when IPP
// has none. The fallback must have exactly the entry's type.
template <class Entry>
void ResolveEntry(Entry& entry, const char* name, Entry fallback) noexcept {
  void* found = LookUpIppEntry(name);
  entry = found != nullptr ? reinterpret_cast<Entry>(found) : fallback;
}

// A table's initialiser object: constructing it runs the table's resolution
// (which itself runs only once). Defined as an inline variable in the table's
// header, it is initialised before any variable defined after that #include.
struct DispatcherInitializer {
  explicit DispatcherInitializer(void (*initialize)() noexcept) noexcept { initialize(); }
};

}  // namespace detail
}  // namespace qx
