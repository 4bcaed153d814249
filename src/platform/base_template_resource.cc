// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/base_template_resource.h"

#include <QFile>

// The resources live in a static library: naming their initialiser makes
// the linker keep them and registers them.
static void RegisterProgramResources() { Q_INIT_RESOURCE(spravka_resources); }

namespace spravka {

std::optional<std::string> LoadBaseTemplate(const QString& resource) {
  static const bool registered = (RegisterProgramResources(), true);
  (void)registered;
  QFile file(resource);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return bytes.toStdString();
}

}  // namespace spravka
