// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT
// Tokenises sheets with the editor's own TextMate engine and checks the scopes a
// colour theme keys on.
const test = require('node:test');
const assert = require('node:assert');
const fs = require('fs');
const path = require('path');
const vsctm = require('vscode-textmate');
const oniguruma = require('vscode-oniguruma');

const root = path.join(__dirname, '..');

async function loadGrammar() {
  const wasm = fs.readFileSync(require.resolve('vscode-oniguruma/release/onig.wasm'));
  await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
  const registry = new vsctm.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (sources) => new oniguruma.OnigScanner(sources),
      createOnigString: (text) => new oniguruma.OnigString(text),
    }),
    loadGrammar: async (scopeName) => {
      if (scopeName !== 'source.qss') {
        return null;
      }
      const file = path.join(root, 'syntaxes', 'qss.tmLanguage.json');
      return vsctm.parseRawGrammar(fs.readFileSync(file, 'utf8'), file);
    },
  });
  return registry.loadGrammar('source.qss');
}

// Every token of the text with its innermost scope, as "text=scope".
function tokenise(grammar, text) {
  const found = [];
  let state = vsctm.INITIAL;
  for (const line of text.split('\n')) {
    const result = grammar.tokenizeLine(line, state);
    for (const token of result.tokens) {
      const piece = line.slice(token.startIndex, token.endIndex);
      if (piece.trim() !== '') {
        found.push(`${piece.trim()}=${token.scopes[token.scopes.length - 1]}`);
      }
    }
    state = result.ruleStack;
  }
  return found;
}

test('selectors, declarations and values get the scopes themes colour', async () => {
  const grammar = await loadGrammar();
  const tokens = tokenise(grammar, [
    'QScrollBar::handle:vertical:!hover, #appTitleBar > .QFrame[variant="success"] {',
    '    background: qlineargradient(x1: 0, y1: 0, stop: 0 #1e90ff, stop: 1 rgba(0, 0, 0, 50%));',
    '    border: 1px solid palette(highlight);',
    '    image: url(:/icons/arrow.svg);',
    '    qproperty-iconSize: 16px;',
    '}',
  ].join('\n'));
  for (const expected of [
    'QScrollBar=entity.name.type.class.qss',
    'handle=entity.other.attribute-name.pseudo-element.qss',
    'vertical=entity.other.attribute-name.pseudo-class.qss',
    '!=keyword.operator.negation.qss',
    'appTitleBar=entity.other.attribute-name.id.qss',
    'QFrame=entity.other.attribute-name.class.qss',
    'variant=entity.other.attribute-name.qss',
    'success=string.quoted.double.qss',
    'background=support.type.property-name.qss',
    'qlineargradient=support.function.qss',
    'x1=variable.parameter.qss',
    '#1e90ff=constant.other.color.rgb-value.qss',
    'rgba=support.function.qss',
    '1=constant.numeric.qss',
    'px=keyword.other.unit.qss',
    'solid=support.constant.property-value.qss',
    'palette=support.function.qss',
    'url=support.function.url.qss',
    ':/icons/arrow.svg=string.unquoted.url.qss',
    'qproperty-iconSize=variable.other.property.qss',
  ]) {
    assert.ok(tokens.includes(expected), `${expected} not in\n${tokens.join('\n')}`);
  }
});

test('the header, templates and suppressions are told apart from the rules', async () => {
  const grammar = await loadGrammar();
  const tokens = tokenise(grammar, [
    '/*',
    '@tokens tokens/base.tokens.json',
    '@palette Disabled.Text = #919aa6',
    '@palette Window = {color.window}',
    '*/',
    '/* prismark-lint disable-next-line unknown-property */',
    'QPushButton:hover { background: alpha({color.accent}, 0.2); border-radius: {radius.small}; }',
    'QLabel { color: red }',
  ].join('\n'));
  for (const expected of [
    '@tokens=keyword.control.directive.qss',
    '@palette=keyword.control.directive.palette.qss',
    'Disabled.Text=variable.other.palette-role.qss',
    '#919aa6=constant.other.color.rgb-value.qss',
    'color.window=variable.other.token.qss',
    'prismark-lint disable-next-line=keyword.control.suppression.qss',
    'alpha=support.function.qss',
    'color.accent=variable.other.token.qss',
    'radius.small=variable.other.token.qss',
    // The block after a block with references still closes and opens as it should.
    'QLabel=entity.name.type.class.qss',
    'red=support.constant.property-value.qss',
  ]) {
    assert.ok(tokens.includes(expected), `${expected} not in\n${tokens.join('\n')}`);
  }
});
