// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_BASE_TEMPLATE_RESOURCE_H_
#define SPRAVKA_PLATFORM_BASE_TEMPLATE_RESOURCE_H_

#include <QString>
#include <optional>
#include <string>

namespace spravka {

// Where the program keeps the template of a new base among its resources.
inline constexpr char kBaseTemplateResource[] = ":/new_base_template.bin";

// The bytes of a resource of the program (by default the new-base
// template); none when it cannot be found or read.
std::optional<std::string> LoadBaseTemplate(
    const QString& resource = QString::fromLatin1(kBaseTemplateResource));

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_BASE_TEMPLATE_RESOURCE_H_
