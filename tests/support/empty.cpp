// Keeps the support library non-empty while it has no sources of its own.
namespace test_support_anchor { int anchor = 0; }
