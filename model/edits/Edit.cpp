#include "model/edits/Edit.h"

namespace tav::edits {

void Compound::Apply(Project& project) const {
    for (const EditPtr& part : m_parts)
        part->Apply(project);
}

void Compound::Revert(Project& project) const {
    for (auto part = m_parts.rbegin(); part != m_parts.rend(); ++part)
        (*part)->Revert(project);
}

} // namespace tav::edits
