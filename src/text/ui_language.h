#pragma once

namespace clockvane {

// Every text the user reads exists in both languages and is picked at the moment it is shown.
enum class UiLanguage { English, German };

}  // namespace clockvane
