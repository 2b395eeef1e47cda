#include "sync/sync_engine.h"

namespace qv::sync {

// Placeholder until the engine is built: sync is off and cannot be turned on.
struct Engine::Impl {};

Engine::Engine(StoreContext&) : impl_(nullptr) {}
Engine::~Engine() = default;
bool Engine::On() const { return false; }
void Engine::LocalChange() {}
RunResult Engine::TurnOn(const std::filesystem::path&) { return {false, "not built yet"}; }
bool Engine::TurnOff() { return true; }
RunResult Engine::Run() { return {}; }
bool Engine::NothingNew() { return true; }
Status Engine::GetStatus() { return {}; }

}  // namespace qv::sync
