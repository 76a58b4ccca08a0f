// The numbering of family properties shared by the family document and the
// table of contents. The family document serves values 0 to 11; the table
// of contents knows the values that it has an attribute for. Every other
// value reads as absent.
#pragma once

enum FamilyPropType : int {
    FamilyPropDisplayName = 0,
    FamilyPropDescription = 1,
    FamilyPropStandard = 2,
    FamilyPropStandardsOrg = 3,
    FamilyPropManufacturer = 4,
    FamilyPropStandardRevision = 5,
    FamilyPropFamilyRevision = 6,
    FamilyPropFolderName = 7,
    FamilyPropRevisionId = 8,
    FamilyPropInternalName = 9,
    FamilyPropLibrary = 10,
    FamilyPropThumbnailPath = 11,
    FamilyPropSourceMoniker = 12,
    FamilyPropSrcActive = 15,
    FamilyPropLastModifiedTime = 16,
};
