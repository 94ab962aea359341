#include "support/document_builder.h"
