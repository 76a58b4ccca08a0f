// Vardel: client library of a CAD content library. Including this header
// gives a host the whole public interface:
//  - the browsing face (namespace Vardel): statuses, property results,
//    contexts, browse identifiers, navigation, property readers, property
//    keys, the history, favorites editing and search queries;
//  - the content-server interface a host implements or attaches
//    (namespace TarnServerProxies) and the module runtime CVardelApp;
//  - the document face: a family document with its table, columns, rows,
//    templates and mapping (CEncapFamily), the evaluator provider a host
//    supplies and the reference provider shipped with the library;
//  - the document-face utilities: GUIDs, string, data-type and range helpers,
//    and the XML document layer (XMLParser, XMLNode, XMLNodeArray);
//  - the icon and bitmap helpers (CIcons) with their records and the
//    process's clipboard (CClipboard).
#pragma once

#include "vardel/app.h"
#include "vardel/browse_id.h"
#include "vardel/browsing.h"
#include "vardel/clipboard.h"
#include "vardel/constants.h"
#include "vardel/context.h"
#include "vardel/data_types.h"
#include "vardel/derived_family_link_names.h"
#include "vardel/evaluator_provider.h"
#include "vardel/export.h"
#include "vardel/family.h"
#include "vardel/family_column.h"
#include "vardel/family_mapping.h"
#include "vardel/family_prop_type.h"
#include "vardel/family_table.h"
#include "vardel/family_template.h"
#include "vardel/favorites.h"
#include "vardel/guid.h"
#include "vardel/history.h"
#include "vardel/icon_records.h"
#include "vardel/icons.h"
#include "vardel/properties.h"
#include "vardel/range_parser.h"
#include "vardel/reference_evaluator_provider.h"
#include "vardel/return_value.h"
#include "vardel/search.h"
#include "vardel/search_query.h"
#include "vardel/server_backend.h"
#include "vardel/server_proxies.h"
#include "vardel/status.h"
#include "vardel/string_util.h"
#include "vardel/table_evaluator.h"
#include "vardel/toc.h"
#include "vardel/version.h"
#include "vardel/xml_node.h"
#include "vardel/xml_node_array.h"
#include "vardel/xml_parser.h"
