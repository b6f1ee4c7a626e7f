-- SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
-- SPDX-License-Identifier: MIT
-- Run by tst_lsp inside headless Neovim, after the README's set-up has opened a
-- broken copy of a built-in sheet: waits for the diagnostics, completes a subcontrol
-- and a property, applies a quick fix, and writes what it saw to session.log.
local log = io.open('session.log', 'w')
local function say(text)
  log:write(text .. '\n')
  log:flush()
end

local function session()
  local buffer = vim.api.nvim_get_current_buf()
  local function diagnostics(code)
    local found = {}
    for _, d in ipairs(vim.diagnostic.get(buffer)) do
      if code == nil or d.code == code then
        table.insert(found, d)
      end
    end
    return found
  end
  assert(vim.wait(30000, function() return #diagnostics() > 0 end, 20), 'no diagnostics arrived')
  local clients = (vim.lsp.get_clients or vim.lsp.get_active_clients)()
  local client = clients[1]
  say('server: ' .. client.name .. ', filetype ' .. vim.bo.filetype)
  say('diagnostics: ' .. #diagnostics())
  for i, d in ipairs(diagnostics()) do
    if i > 5 then break end
    say(string.format('  %d:%d-%d:%d %s [%s] %s', d.lnum + 1, d.col + 1, d.end_lnum + 1,
                      d.end_col + 1, d.source, d.code, d.message))
  end

  -- Applies the first quick fix the server offers for a diagnostic.
  local function fix(target)
    local replies = vim.lsp.buf_request_sync(buffer, 'textDocument/codeAction', {
      textDocument = { uri = vim.uri_from_bufnr(buffer) },
      range = {
        start = { line = target.lnum, character = target.col },
        ['end'] = { line = target.end_lnum, character = target.end_col },
      },
      context = { diagnostics = {} },
    }, 10000)
    for _, reply in pairs(replies or {}) do
      local action = (reply.result or {})[1]
      if action then
        vim.lsp.util.apply_workspace_edit(action.edit, client.offset_encoding)
        say("after quick fix '" .. action.title .. "': " ..
            vim.trim(vim.api.nvim_buf_get_lines(buffer, target.lnum, target.lnum + 1, false)[1]))
        return
      end
    end
    error('no quick fix for ' .. target.message)
  end

  -- A rejected sheet hides everything after the fault: mend it first.
  local rejected = diagnostics('syntax')[1]
  local before = #diagnostics()
  if rejected then
    fix(rejected)
    assert(vim.wait(30000, function() return #diagnostics('syntax') == 0 end, 20),
           'the syntax error stayed')
    say('diagnostics: ' .. before .. ' before the fix, ' .. #diagnostics() .. ' after')
    for _, code in ipairs({ 'unknown-property', 'unknown-pseudo-state', 'unknown-widget' }) do
      for _, d in ipairs(diagnostics(code)) do
        say(string.format('  %d:%d-%d:%d [%s] %s', d.lnum + 1, d.col + 1, d.end_lnum + 1,
                          d.end_col + 1, d.code, d.message))
      end
    end
  end

  local function complete(line, wanted)
    local last = vim.api.nvim_buf_line_count(buffer)
    vim.api.nvim_buf_set_lines(buffer, last, last, false, { line })
    local params = {
      textDocument = { uri = vim.uri_from_bufnr(buffer) },
      position = { line = last, character = #line },
    }
    local replies = vim.lsp.buf_request_sync(buffer, 'textDocument/completion', params, 10000)
    for _, reply in pairs(replies or {}) do
      local items = reply.result and (reply.result.items or reply.result) or {}
      for _, item in ipairs(items) do
        if item.label == wanted then
          vim.lsp.util.apply_text_edits({ item.textEdit }, buffer, client.offset_encoding)
          return vim.trim(vim.api.nvim_buf_get_lines(buffer, last, last + 1, false)[1]), #items
        end
      end
    end
    return 'nothing for ' .. line, 0
  end
  local completed, count = complete('QScrollBar::han', 'handle')
  say('completed subcontrol: ' .. completed .. ' (' .. count .. ' items)')
  local last = vim.api.nvim_buf_line_count(buffer)
  vim.api.nvim_buf_set_lines(buffer, last - 1, last, false, { completed .. ' {' })
  completed, count = complete('    border-ra', 'border-radius')
  say('completed property: ' .. completed .. ' (' .. count .. ' items)')
  last = vim.api.nvim_buf_line_count(buffer)
  vim.api.nvim_buf_set_lines(buffer, last - 1, last, false, { '    border-radius: 4px;', '}' })

  before = #diagnostics('unknown-property')
  fix(diagnostics('unknown-property')[1])
  assert(vim.wait(30000, function() return #diagnostics('unknown-property') == before - 1 end, 20),
         'the diagnostics did not follow the fix')
  say('unknown-property diagnostics: ' .. before .. ' before the fix, ' ..
      #diagnostics('unknown-property') .. ' after')
  say('session: ok')
end

local ok, problem = pcall(session)
if not ok then
  say('session failed: ' .. tostring(problem))
end
log:close()
vim.cmd('qall!')
