// Shared by both backends: keeps each backend library non-empty while its folder is.
namespace vantiq {
int BackendLinkAnchor() { return 0; }
}  // namespace vantiq
