#include "engine/Records.h"

int32_t parseEpigraphIndents(std::string_view text) {
    int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value >= 999) return 999;
    }
    return value;
}

TrackedElement trackedElementOf(std::string_view name) {
    if (name == "title-info") return TrackedElement::TitleInfo;
    if (name == "body") return TrackedElement::Body;
    if (name == "poem") return TrackedElement::Poem;
    if (name == "title") return TrackedElement::Title;
    if (name == "subtitle") return TrackedElement::Subtitle;
    return TrackedElement::None;
}

void ElementStack::push(const std::string& name, const std::string& savedAnchor) {
    if (m_size == m_entries.size()) {
        m_entries.emplace_back();
        m_tracked.push_back(TrackedElement::None);
    }
    Entry& entry = m_entries[m_size];
    entry.name = name;
    entry.savedAnchor = savedAnchor;
    const TrackedElement tracked = trackedElementOf(name);
    m_tracked[m_size] = tracked;
    if (tracked != TrackedElement::None) ++m_counts[static_cast<size_t>(tracked)];
    ++m_size;
}

void ElementStack::pop() {
    if (m_size == 0) return;
    --m_size;
    const TrackedElement tracked = m_tracked[m_size];
    if (tracked != TrackedElement::None) --m_counts[static_cast<size_t>(tracked)];
}
